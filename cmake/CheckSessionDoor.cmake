# Fails when a program's own code reaches the document around its session: the window, the page,
# tavro-render and the recorder get the document read-only from DocumentSession, and the one
# mutable door (FixtureDoc) is for tests, benchmarks and fuzzers that build sets by hand.
include(${CMAKE_CURRENT_LIST_DIR}/SourceScan.cmake)
file(GLOB_RECURSE program_files ${SRC}/*.h ${SRC}/*.cpp)
# The door is declared in the session's header, and only there.
list(FILTER program_files EXCLUDE REGEX "/document/DocumentSession\\.h$")
files_with_lines(offenders "${program_files}" "(^|[^A-Za-z0-9_])FixtureDoc[ \t]*\\(")
if(offenders)
  message(FATAL_ERROR "the document reached around its session: ${offenders}")
endif()
message(STATUS "every front end reaches the document through its session")
