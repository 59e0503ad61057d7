# The Qt shell (tavro_gui), the viewer (tavro) and the command-line renderer (tavro-render).
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Multimedia)
set(CMAKE_AUTOMOC ON)
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/shell/CMakeLists.txt)
  add_subdirectory(shell)
endif()
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/render/CMakeLists.txt)
  add_subdirectory(render)
endif()
