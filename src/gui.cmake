# The Qt shell (tavro_gui), the viewer (tavro) and the command-line renderer (tavro-render).
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
