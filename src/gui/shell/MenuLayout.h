// The menu bar, the accelerator table and the toolbar as data: texts, identifiers and keys in
// their order. The frame builds its widgets from these tables.
#pragma once

#include <QKeySequence>
#include <vector>

namespace tavro {

struct MenuItemSpec {
  const char* Menu;  // "&File", ...
  const char* Text;  // nullptr: a separator
  int Id;            // 0 for a separator; kFirstRecentFile marks where the recent files go
};

struct AcceleratorSpec {
  QKeySequence Keys;
  int Id;
};

const std::vector<MenuItemSpec>& MenuItems();
const std::vector<AcceleratorSpec>& Accelerators();
// Is this key press one of the table's? Such a press is a command, or nothing where its command
// is disabled or handled by no one (F6); it never reaches the view's own key handling.
bool IsAcceleratorKey(int qtKey, Qt::KeyboardModifiers modifiers);

// Toolbar entries in order; 0 is a separator gap.
const std::vector<int>& ToolbarEntries();

}  // namespace tavro
