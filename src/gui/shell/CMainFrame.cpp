#include "gui/shell/CMainFrame.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QToolButton>

#include "gui/shell/CTavroApp.h"
#include "gui/shell/CommandIds.h"
#include "gui/shell/LoadReportDialog.h"
#include "gui/shell/LocalPaths.h"
#include "gui/shell/MenuLayout.h"
#include "gui/shell/ToolbarImages.h"

namespace tavro {

CMainFrame::CMainFrame(CTavroApp& app)
    : App(app), Table(this), ViewWidget(new CTavroView(app.Session(), *this, this)) {
  setWindowIcon(AppIcon());
  setCentralWidget(ViewWidget);
  setAcceptDrops(true);
  UpdateTimer.setSingleShot(true);
  UpdateTimer.setInterval(0);
  connect(&UpdateTimer, &QTimer::timeout, this, &CMainFrame::UpdateActions);
  connect(&Table, &CommandTable::commandRan, this, &CMainFrame::RequestCommandUpdate);

  BuildMenus();
  BuildToolbar();
  BuildAccelerators();
  RegisterCommands();
  RebuildRecentFiles();
  // The client area starts as 448 x 320, toolbar included, until a set is fitted.
  resize(448, 320 + menuBar()->sizeHint().height());
  UpdateCaption();
  UpdateActions();
  qApp->installEventFilter(this);
  ViewWidget->setFocus();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::BuildMenus() {
  QMenu* menu = nullptr;
  QString menuTitle;
  for (const MenuItemSpec& item : MenuItems()) {
    if (menu == nullptr || menuTitle != QLatin1String(item.menu)) {
      menuTitle = QString::fromLatin1(item.menu);
      menu = menuBar()->addMenu(menuTitle);
      connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateActions);
      if (menuTitle == QLatin1String("&File")) FileMenuWidget = menu;
    }
    if (item.text == nullptr) {
      QAction* separator = menu->addSeparator();
      // The separator right after the recent-file slot closes that slot.
      if (menu == FileMenuWidget && !RecentActions.isEmpty() && RecentEnd == nullptr) {
        RecentEnd = separator;
      }
    } else if (item.id == cmd::kFirstRecentFile) {
      RecentActions.append(menu->addAction(QString::fromLatin1(item.text)));
    } else {
      QAction* action = Table.Define(item.id, QString::fromLatin1(item.text));
      action->setIconVisibleInMenu(false);
      menu->addAction(action);
    }
  }
}

void CMainFrame::BuildToolbar() {
  Bar = new QToolBar(QStringLiteral("ToolBar"), this);
  Bar->setObjectName(QStringLiteral("ToolBar"));
  Bar->setIconSize(QSize(kButtonImageWidth, kButtonImageHeight));
  Bar->setAllowedAreas(Qt::AllToolBarAreas);
  Bar->setFloatable(true);
  Bar->setMovable(true);
  for (int id : ToolbarEntries()) {
    if (id == 0) {
      Bar->addSeparator();
      continue;
    }
    QAction* action = Table.Define(id, QString());
    action->setIcon(QIcon(ToolbarImage(id)));
    action->setIconVisibleInMenu(false);
    Bar->addAction(action);
  }
  auto fitHeight = [this](Qt::Orientation orientation) {
    if (orientation == Qt::Horizontal) {
      Bar->setFixedHeight(CTavroView::kToolbarHeight);
    } else {
      Bar->setMinimumHeight(0);
      Bar->setMaximumHeight(QWIDGETSIZE_MAX);
    }
  };
  connect(Bar, &QToolBar::orientationChanged, this, fitHeight);
  fitHeight(Bar->orientation());
  addToolBar(Qt::TopToolBarArea, Bar);
  if (App.ToolbarVisible != 1) Bar->hide();
}

void CMainFrame::BuildAccelerators() {
  std::map<int, QList<QKeySequence>> keys;
  for (const AcceleratorSpec& accel : Accelerators()) keys[accel.id].append(accel.keys);
  for (const auto& [id, sequences] : keys) {
    QAction* action = Table.Define(id, QString());
    action->setShortcuts(sequences);
    action->setShortcutContext(Qt::WindowShortcut);
    // Actions in no menu (File New, the pane keys, Space) still need a home for their keys.
    addAction(action);
  }
}

void CMainFrame::UpdateActions() {
  UpdateTimer.stop();
  Table.UpdateActions();
  if (QAction* zoom = Table.Action(cmd::kZoomDialog)) {
    zoom->setText(QStringLiteral("&Zoom... x%1").arg(View().Zoom()));
  }
}

void CMainFrame::RequestCommandUpdate() {
  if (!UpdateTimer.isActive()) UpdateTimer.start();
}

void CMainFrame::RefreshCommandStates() {
  UpdateActions();
  if (Bar != nullptr) Bar->repaint();
}

// A set that loaded with problems says so here, once, rather than in a box of its own.
void CMainFrame::UpdateCaption() {
  const CTavroDoc& doc = App.Doc();
  setWindowTitle(App.Template().FrameCaption() +
                 (doc.IsSetLoaded() ? LoadProblemsCaption(doc.LastLoad().Problems) : QString()));
}

void CMainFrame::RebuildRecentFiles() {
  for (QAction* old : RecentActions) {
    FileMenuWidget->removeAction(old);
    old->deleteLater();
  }
  RecentActions.clear();
  const std::vector<std::string>& files = App.Settings().RecentFiles();
  if (files.empty()) {
    QAction* none = new QAction(QStringLiteral("Recent File"), FileMenuWidget);
    none->setEnabled(false);
    RecentActions.append(none);
  }
  for (int i = 0; i < static_cast<int>(files.size()); ++i) {
    const std::string path = files[static_cast<size_t>(i)];
    // Only the number is a mnemonic: an "&" in the path is shown as itself.
    const QString shown = ShownPath(path).replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), FileMenuWidget);
    entry->setData(cmd::kFirstRecentFile + i);
    // An entry whose file has gone stays in the list: the failed open says why.
    connect(entry, &QAction::triggered, this, [this, path] { App.OpenByPath(path); });
    RecentActions.append(entry);
  }
  FileMenuWidget->insertActions(RecentEnd, RecentActions);
}

bool CMainFrame::ToolbarShown() const { return Bar != nullptr && !Bar->isHidden(); }

void CMainFrame::StoreToolbarVisible(bool visible) { App.ToolbarVisible = visible ? 1 : 0; }

void CMainFrame::ShowPlainBox(const std::string& text, const std::string& caption) {
  App.HostImpl().ShowMessage(text, caption, MessageIcon::None);
}

void CMainFrame::MinimiseOrRestore() {
  if (isMinimized()) {
    // Back to the state it had before: a maximised frame stays maximised.
    setWindowState(windowState() & ~Qt::WindowMinimized);
  } else {
    showMinimized();
  }
}

void CMainFrame::OpenDroppedFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    App.OpenByPath(path);
    if (paths.size() >= 2) {
      for (int set = 0; set < kSetCount; ++set) ViewWidget->SelectSet(set);
    }
  }
  if (paths.size() == 1) ViewWidget->RepaintNow();
  UpdateActions();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    std::string path = PathFromFileUrl(url);
    if (!path.empty()) paths.push_back(std::move(path));
  }
  if (paths.empty()) return;
  event->acceptProposedAction();
  // The files open once the drop has returned: the file manager is not held while a set loads
  // or the "Select CNF File" dialog waits.
  QTimer::singleShot(0, this, [this, paths] {
    activateWindow();
    OpenDroppedFiles(paths);
  });
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  // The toolbar has no tool tips.
  if (event->type() == QEvent::ToolTip && widget != nullptr && widget->parentWidget() == Bar) {
    return true;
  }
  // Keypad + and - do not always reach the shortcut (X servers differ in how they mark keypad
  // keys); any widget of this window that receives them passes them here so they still zoom.
  if (event->type() == QEvent::KeyPress && widget != nullptr && widget->window() == this) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const int id = key->key() == Qt::Key_Plus    ? cmd::kZoomIn
                   : key->key() == Qt::Key_Minus ? cmd::kZoomOut
                                                 : 0;
    if (id != 0 && key->modifiers().testFlag(Qt::KeypadModifier)) {
      Table.Execute(id);
      return true;
    }
    // An accelerator whose command is disabled, or that no one handles, does nothing; it is
    // not another key press of the view (Ctrl+V would break the key sequence that lifts fixing).
    if (IsAcceleratorKey(key->key(), key->modifiers())) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace tavro
