// CMainFrame: the one top-level window. Menu bar, accelerators and the dockable toolbar built
// from the command table; the view in the middle; no status bar. Takes files dropped on it.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QTimer>
#include <string>
#include <vector>

#include "gui/shell/CommandTable.h"
#include "gui/view/CTavroView.h"

class QToolBar;
class QMenu;

namespace tavro {

class CTavroApp;

class CMainFrame : public QMainWindow, public ViewFrameLink {
  Q_OBJECT

 public:
  explicit CMainFrame(CTavroApp& app);
  ~CMainFrame() override;

  CTavroView& View() { return *ViewWidget_; }
  CommandTable& Commands() { return Table_; }
  QAction* Action(int id) const { return Table_.Action(id); }
  QToolBar* ToolBar() const { return Bar_; }
  QMenu* FileMenu() const { return FileMenuWidget_; }

  // Every enabling and check rule evaluated now; the Zoom item's text follows the factor.
  void UpdateActions();
  // The same, once the current event has been handled (several requests make one update).
  void RequestCommandUpdate();
  void UpdateCaption();
  void RebuildRecentFiles();

  // One file: open it and paint at once. Several: open each in turn and show every set it
  // uses, so the last one stays on its highest set.
  void OpenDroppedFiles(const std::vector<std::string>& paths);
  void MinimiseOrRestore();

  // ViewFrameLink
  void RefreshCommandStates() override;
  void UpdateCommandStates() override { UpdateActions(); }
  bool ToolbarShown() const override;
  void StoreToolbarVisible(bool visible) override;
  QWidget* FrameWindow() override { return this; }
  void ShowPlainBox(const std::string& text, const std::string& caption) override;

  QMenu* createPopupMenu() override { return nullptr; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolbar();
  void BuildAccelerators();
  void RegisterCommands();
  void RegisterSetAndColourCommands();
  void RegisterViewCommands();
  // Playing and inspecting: Help > Information, Option > Adjust Object.
  void RegisterPlayCommands();
  // Saving and the clipboard: File > Save, Save As, Edit > Copy.
  void RegisterFileCommands();

  CTavroApp& App_;
  CommandTable Table_;
  CTavroView* ViewWidget_;
  QToolBar* Bar_ = nullptr;
  QMenu* FileMenuWidget_ = nullptr;
  QAction* RecentEnd_ = nullptr;  // the separator after the recent files
  QList<QAction*> RecentActions_;
  QTimer UpdateTimer_;
};

}  // namespace tavro
