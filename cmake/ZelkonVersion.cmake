# Writes the version header of the programs: the project version, and `git describe` of the
# checkout when the sources are one.  Run at every build (cmake -P) with SOURCE_DIR,
# VERSION and OUTPUT set; the header is rewritten only when its text changes, so the
# programs are compiled again only when the version does.
set(describe "")
find_program(GIT_PROGRAM git)
if(GIT_PROGRAM AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT_PROGRAM}" -C "${SOURCE_DIR}" describe --tags --always --dirty
                  OUTPUT_VARIABLE describe OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    set(describe "")
  endif()
endif()
if(describe STREQUAL "")
  set(text "${VERSION}")
else()
  set(text "${VERSION} (git ${describe})")
endif()
set(content "// Written by cmake/ZelkonVersion.cmake at build time.\n#pragma once\n#define ZELKON_VERSION_TEXT \"${text}\"\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
else()
  set(previous "")
endif()
if(NOT previous STREQUAL content)
  file(WRITE "${OUTPUT}" "${content}")
endif()
