# Qt-side sources that live in the subsystem folders, relative to src/. They belong to
# tavro_gui (or to tavro-render), never to tavro_core.
set(TAVRO_GUI_SOURCES
  composition/ClipboardExport.cpp
  composition/MapDisplay.cpp
  interaction/CTavroView.cpp
  interaction/ViewInformation.cpp
  interaction/ViewMouse.cpp
  interaction/ViewTimer.cpp
  interaction/VirtualKeys.cpp
)
