#include "gui/shell/MenuLayout.h"

#include "gui/shell/CommandIds.h"

namespace tavro {

namespace {

std::vector<MenuItemSpec> BuildMenuItems() {
  std::vector<MenuItemSpec> items = {
      {"&File", "&Open...\tCtrl+O", cmd::kFileOpen},
      {"&File", "&Save\tCtrl+S", cmd::kFileSave},
      {"&File", "Save&As...", cmd::kFileSaveAs},
      {"&File", "&Record Animation...", cmd::kFileRecord},
      {"&File", nullptr, 0},
      {"&File", "Recent File", cmd::kFirstRecentFile},
      {"&File", nullptr, 0},
      {"&File", "E&xit", cmd::kAppExit},
      {"&Edit", "&Undo\tCtrl+Z", cmd::kEditUndo},
      {"&Edit", nullptr, 0},
      {"&Edit", "Cu&t\tCtrl+X", cmd::kEditCut},
      {"&Edit", "&Copy\tCtrl+C", cmd::kEditCopy},
      {"&Edit", "&Paste\tCtrl+V", cmd::kEditPaste},
      {"&View", "Tool&bar\tCtrl+B", cmd::kViewToolbar},
      {"&View", nullptr, 0},
      {"&View", "&256Color", cmd::kColour256},
      {"&View", "&TrueColor", cmd::kTrueColour},
  };
  static const char* const kDigits[] = {"&0", "&1", "&2", "&3", "&4", "&5", "&6", "&7", "&8", "&9"};
  for (int n = 0; n < 10; ++n) items.push_back({"&Set", kDigits[n], cmd::kFirstSet + n});
  for (int n = 0; n < 10; ++n) items.push_back({"&Color", kDigits[n], cmd::kFirstGroup + n});
  const std::vector<MenuItemSpec> rest = {
      {"&Option", "Zoom &In\t+", cmd::kZoomIn},
      {"&Option", "Zoom &Out\t-", cmd::kZoomOut},
      {"&Option", "&Zoom...", cmd::kZoomDialog},
      {"&Option", "&Test", cmd::kTest},
      {"&Option", "&Adjust Object", cmd::kAdjustObject},
      {"&Option", "Transparent &50%", cmd::kTransparentHalf},
      {"&Help", "&Information\tCtrl+I", cmd::kInformation},
      {"&Help", "&Load Report...", cmd::kLoadReport},
      {"&Help", "&Contents", cmd::kHelpContents},
      {"&Help", "&About...", cmd::kAppAbout},
  };
  items.insert(items.end(), rest.begin(), rest.end());
  return items;
}

}  // namespace

const std::vector<MenuItemSpec>& MenuItems() {
  static const std::vector<MenuItemSpec> kItems = BuildMenuItems();
  return kItems;
}

const std::vector<AcceleratorSpec>& Accelerators() {
  static const std::vector<AcceleratorSpec> kTable = {
      {QKeySequence(Qt::CTRL | Qt::Key_B), cmd::kViewToolbar},
      {QKeySequence(Qt::CTRL | Qt::Key_C), cmd::kEditCopy},
      {QKeySequence(Qt::CTRL | Qt::Key_I), cmd::kInformation},
      {QKeySequence(Qt::CTRL | Qt::Key_N), cmd::kFileNew},
      {QKeySequence(Qt::CTRL | Qt::Key_O), cmd::kFileOpen},
      {QKeySequence(Qt::CTRL | Qt::Key_S), cmd::kFileSave},
      {QKeySequence(Qt::CTRL | Qt::Key_V), cmd::kEditPaste},
      {QKeySequence(Qt::KeypadModifier | Qt::Key_Plus), cmd::kZoomIn},
      {QKeySequence(Qt::ALT | Qt::Key_Backspace), cmd::kEditUndo},
      {QKeySequence(Qt::SHIFT | Qt::Key_Delete), cmd::kEditCut},
      {QKeySequence(Qt::Key_F6), cmd::kNextPane},
      {QKeySequence(Qt::SHIFT | Qt::Key_F6), cmd::kPreviousPane},
      {QKeySequence(Qt::CTRL | Qt::Key_Insert), cmd::kEditCopy},
      {QKeySequence(Qt::SHIFT | Qt::Key_Insert), cmd::kEditPaste},
      {QKeySequence(Qt::Key_Space), cmd::kMinimiseRestore},
      {QKeySequence(Qt::KeypadModifier | Qt::Key_Minus), cmd::kZoomOut},
      {QKeySequence(Qt::CTRL | Qt::Key_X), cmd::kEditCut},
      {QKeySequence(Qt::CTRL | Qt::Key_Z), cmd::kEditUndo},
      // Desktops open a program's help with F1.
      {QKeySequence(Qt::Key_F1), cmd::kHelpContents},
  };
  return kTable;
}

const std::vector<int>& ToolbarEntries() {
  static const std::vector<int> kEntries = {cmd::kFileOpen,
                                            0,
                                            cmd::kFileSave,
                                            0,
                                            cmd::kEditCopy,
                                            0,
                                            101,
                                            102,
                                            103,
                                            104,
                                            105,
                                            106,
                                            107,
                                            108,
                                            109,
                                            110,
                                            0,
                                            cmd::kAppAbout};
  return kEntries;
}

bool IsAcceleratorKey(int qtKey, Qt::KeyboardModifiers modifiers) {
  constexpr Qt::KeyboardModifiers kHeld =
      Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier;
  for (const AcceleratorSpec& accel : Accelerators()) {
    const QKeyCombination keys = accel.Keys[0];
    if (keys.key() != qtKey || (keys.keyboardModifiers() & kHeld) != (modifiers & kHeld)) continue;
    // Keypad + and - are accelerators; the main keyboard's are not.
    if (keys.keyboardModifiers().testFlag(Qt::KeypadModifier) &&
        !modifiers.testFlag(Qt::KeypadModifier)) {
      continue;
    }
    return true;
  }
  return false;
}

}  // namespace tavro
