# Fails when a file of tavro_core outside src/platform opens, reads, writes, renames or lists
# files itself, or reads a clock. Files go through the file door in src/platform and the tick
# count through the Host, so that every rule of the core runs against a fake in the tests.
include(${CMAKE_CURRENT_LIST_DIR}/SourceScan.cmake)
set(behind_the_door ${core_folders})
list(REMOVE_ITEM behind_the_door platform)
files_in_folders(core_files ${behind_the_door})
# Headers that bring the system's file and clock calls. <cstdio> stays allowed for its string
# formatting; its file calls are caught by name below.
set(banned_include "^[ \t]*#[ \t]*include[ \t]*<(fstream|filesystem|dirent\\.h|fcntl\\.h|unistd\\.h|sys/[a-z_]+\\.h|stdio\\.h|chrono|ctime|time\\.h)>")
set(banned_call "(^|[^A-Za-z0-9_])(fopen|freopen|fclose|fread|fwrite|fgets|fputs|fprintf|fscanf|fseek|ftell|rewind|tmpfile|tmpnam|popen|mkstemp|mkdtemp|realpath|std::rename|std::remove|::rename|::remove)[ \t]*\\(")
files_with_lines(offenders "${core_files}" "${banned_include}" "${banned_call}")
if(offenders)
  message(FATAL_ERROR "file or clock calls outside the file door: ${offenders}")
endif()
message(STATUS "core reaches files only through the file door")
