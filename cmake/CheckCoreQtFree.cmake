# Fails when a file of tavro_core includes a Qt header. The Qt side lives under src/gui and
# src/render; nothing in the core's folders may reach for the toolkit.
include(${CMAKE_CURRENT_LIST_DIR}/SourceScan.cmake)
files_in_folders(core_files ${core_folders})
files_with_lines(offenders "${core_files}" "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
if(offenders)
  message(FATAL_ERROR "Qt included in the core: ${offenders}")
endif()
message(STATUS "core is Qt-free")
