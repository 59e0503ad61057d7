# Fails when a file of tavro_core includes a Qt header. The Qt side lives under src/gui and
# src/render; nothing in the core's folders may reach for the toolkit.
file(GLOB_RECURSE core_files ${SRC}/platform/* ${SRC}/set/* ${SRC}/document/* ${SRC}/imagefiles/*
     ${SRC}/composition/* ${SRC}/scripts/* ${SRC}/interaction/*)
set(offenders "")
foreach(f IN LISTS core_files)
  file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
  if(hits)
    file(RELATIVE_PATH rel ${SRC} ${f})
    list(APPEND offenders ${rel})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt included in the core: ${offenders}")
endif()
message(STATUS "core is Qt-free")
