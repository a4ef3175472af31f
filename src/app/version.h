// version.h - what --version prints: the release and the commit built.
// The definitions are written at build time (cmake/write_version.cmake).
#pragma once

extern const char* const kProgramVersion;  // "1.0", as the window's title says
extern const char* const kProgramCommit;   // short hash, or "unknown" without git
