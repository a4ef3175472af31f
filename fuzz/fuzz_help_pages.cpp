// Fuzzes the help-file splitter: any bytes must split into at most the
// fixed pages without a line end left inside a line, and no line wider than
// the help view can show.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/app_state.h"
#include "scene/help_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    readHelpPages(in);
    size_t total = 0;
    for (const auto& page : app.helpLines)
        for (const auto& line : page) {
            if (line.find('\n') != std::string::npos) std::abort();
            if (line == "<NEXTPAGE>") std::abort();
            if (line.size() > static_cast<size_t>(kMaxHelpLineChars)) std::abort();
            total += line.size();
        }
    if (total > size) std::abort();
    return 0;
}
