# Fails when a file of tavro_core outside src/platform opens, reads, writes, renames or lists
# files itself, or reads a clock. Files go through the file door in src/platform and the tick
# count through the Host, so that every rule of the core runs against a fake in the tests.
file(GLOB_RECURSE core_files ${SRC}/set/* ${SRC}/document/* ${SRC}/imagefiles/*
     ${SRC}/composition/* ${SRC}/scripts/* ${SRC}/interaction/*)
# Headers that bring the system's file and clock calls. <cstdio> stays allowed for its string
# formatting; its file calls are caught by name below.
set(banned_include "^[ \t]*#[ \t]*include[ \t]*<(fstream|filesystem|dirent\\.h|fcntl\\.h|unistd\\.h|sys/[a-z_]+\\.h|stdio\\.h|chrono|ctime|time\\.h)>")
set(banned_call "(^|[^A-Za-z0-9_])(fopen|freopen|fclose|fread|fwrite|fgets|fputs|fprintf|fscanf|fseek|ftell|rewind|tmpfile|tmpnam|popen|mkstemp|mkdtemp|realpath|std::rename|std::remove|::rename|::remove)[ \t]*\\(")
set(offenders "")
foreach(f IN LISTS core_files)
  file(STRINGS ${f} include_hits REGEX "${banned_include}")
  file(STRINGS ${f} call_hits REGEX "${banned_call}")
  if(include_hits OR call_hits)
    file(RELATIVE_PATH rel ${SRC} ${f})
    list(APPEND offenders ${rel})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "file or clock calls outside the file door: ${offenders}")
endif()
message(STATUS "core reaches files only through the file door")
