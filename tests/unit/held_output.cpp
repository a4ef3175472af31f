// The unit tests' printed output is held back unless a test fails.
#include "../support/held_output.h"

namespace {
const bool kInstalled = (HeldOutput::install(), true);
}  // namespace
