# Writes the version source the program's --version prints: the project's
# version and the commit the build was made from. Run at every build, it
# rewrites the file only when the text changes, so nothing rebuilds for it
# otherwise. A tree without git (an unpacked archive) says "unknown".
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -DVERSION=... -P write_version.cmake
set(commit "unknown")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
                  OUTPUT_VARIABLE head RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(rc EQUAL 0 AND head)
    set(commit "${head}")
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
                    OUTPUT_VARIABLE changes RESULT_VARIABLE rc ERROR_QUIET)
    if(rc EQUAL 0 AND changes)
      set(commit "${commit} with local changes")
    endif()
  endif()
endif()
set(text "// Made by cmake/write_version.cmake at build time.\n#include \"app/version.h\"\n\nconst char* const kProgramVersion = \"${VERSION}\";\nconst char* const kProgramCommit = \"${commit}\";\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT "${old}" STREQUAL "${text}")
  file(WRITE "${OUTPUT}" "${text}")
endif()
