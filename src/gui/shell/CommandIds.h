// Command identifiers. Menu items, accelerators and toolbar buttons carry these as their action
// data; the numbers are the ones stored in the original resources, so command tables line up.
#pragma once

namespace tavro::cmd {

inline constexpr int kTest = 32770;
inline constexpr int kInformation = 32771;
inline constexpr int kZoomDialog = 32772;
inline constexpr int kZoomIn = 32773;
inline constexpr int kZoomOut = 32774;
inline constexpr int kMinimiseRestore = 32775;
inline constexpr int kAdjustObject = 32776;
inline constexpr int kColour256 = 32777;
inline constexpr int kTrueColour = 32778;
inline constexpr int kTransparentHalf = 32779;
// Commands of our own, kept clear of the numbers above.
inline constexpr int kFileRecord = 32790;
inline constexpr int kLoadReport = 32791;

inline constexpr int kFirstSet = 101;    // 101..110 choose sets 0..9
inline constexpr int kFirstGroup = 111;  // 111..120 choose colour groups 0..9

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFirstRecentFile = 57616;  // 57616..57619
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kHelpContents = 57670;
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;
inline constexpr int kViewToolbar = 59392;

inline constexpr int kRecentFileCount = 4;

}  // namespace tavro::cmd
