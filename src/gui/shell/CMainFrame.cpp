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
    : App_(app), Table_(this), ViewWidget_(new CTavroView(app.Session(), *this, this)) {
  setWindowIcon(AppIcon());
  setCentralWidget(ViewWidget_);
  setAcceptDrops(true);
  UpdateTimer_.setSingleShot(true);
  UpdateTimer_.setInterval(0);
  connect(&UpdateTimer_, &QTimer::timeout, this, &CMainFrame::UpdateActions);
  connect(&Table_, &CommandTable::CommandRan, this, &CMainFrame::RequestCommandUpdate);

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
  ViewWidget_->setFocus();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::BuildMenus() {
  QMenu* menu = nullptr;
  QString menuTitle;
  for (const MenuItemSpec& item : MenuItems()) {
    if (menu == nullptr || menuTitle != QLatin1String(item.Menu)) {
      menuTitle = QString::fromLatin1(item.Menu);
      menu = menuBar()->addMenu(menuTitle);
      connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateActions);
      if (menuTitle == QLatin1String("&File")) FileMenuWidget_ = menu;
    }
    if (item.Text == nullptr) {
      QAction* separator = menu->addSeparator();
      // The separator right after the recent-file slot closes that slot.
      if (menu == FileMenuWidget_ && !RecentActions_.isEmpty() && RecentEnd_ == nullptr) {
        RecentEnd_ = separator;
      }
    } else if (item.Id == cmd::kFirstRecentFile) {
      RecentActions_.append(menu->addAction(QString::fromLatin1(item.Text)));
    } else {
      QAction* action = Table_.Define(item.Id, QString::fromLatin1(item.Text));
      action->setIconVisibleInMenu(false);
      menu->addAction(action);
    }
  }
}

void CMainFrame::BuildToolbar() {
  Bar_ = new QToolBar(QStringLiteral("ToolBar"), this);
  Bar_->setObjectName(QStringLiteral("ToolBar"));
  Bar_->setIconSize(QSize(kButtonImageWidth, kButtonImageHeight));
  Bar_->setAllowedAreas(Qt::AllToolBarAreas);
  Bar_->setFloatable(true);
  Bar_->setMovable(true);
  for (int id : ToolbarEntries()) {
    if (id == 0) {
      Bar_->addSeparator();
      continue;
    }
    QAction* action = Table_.Define(id, QString());
    action->setIcon(QIcon(ToolbarImage(id)));
    action->setIconVisibleInMenu(false);
    Bar_->addAction(action);
  }
  auto fitHeight = [this](Qt::Orientation orientation) {
    if (orientation == Qt::Horizontal) {
      Bar_->setFixedHeight(CTavroView::kToolbarHeight);
    } else {
      Bar_->setMinimumHeight(0);
      Bar_->setMaximumHeight(QWIDGETSIZE_MAX);
    }
  };
  connect(Bar_, &QToolBar::orientationChanged, this, fitHeight);
  fitHeight(Bar_->orientation());
  addToolBar(Qt::TopToolBarArea, Bar_);
  if (App_.ToolbarVisible != 1) Bar_->hide();
}

void CMainFrame::BuildAccelerators() {
  std::map<int, QList<QKeySequence>> keys;
  for (const AcceleratorSpec& accel : Accelerators()) keys[accel.Id].append(accel.Keys);
  for (const auto& [id, sequences] : keys) {
    QAction* action = Table_.Define(id, QString());
    action->setShortcuts(sequences);
    action->setShortcutContext(Qt::WindowShortcut);
    // Actions in no menu (File New, the pane keys, Space) still need a home for their keys.
    addAction(action);
  }
}

void CMainFrame::UpdateActions() {
  UpdateTimer_.stop();
  Table_.UpdateActions();
  if (QAction* zoom = Table_.Action(cmd::kZoomDialog)) {
    zoom->setText(QStringLiteral("&Zoom... x%1").arg(View().Zoom()));
  }
}

void CMainFrame::RequestCommandUpdate() {
  if (!UpdateTimer_.isActive()) UpdateTimer_.start();
}

void CMainFrame::RefreshCommandStates() {
  UpdateActions();
  if (Bar_ != nullptr) Bar_->repaint();
}

// A set that loaded with problems says so here, once, rather than in a box of its own.
void CMainFrame::UpdateCaption() {
  const CTavroDoc& doc = App_.Doc();
  setWindowTitle(App_.Template().FrameCaption() +
                 (doc.IsSetLoaded() ? LoadProblemsCaption(doc.LastLoad().Problems) : QString()));
}

void CMainFrame::RebuildRecentFiles() {
  for (QAction* old : RecentActions_) {
    FileMenuWidget_->removeAction(old);
    old->deleteLater();
  }
  RecentActions_.clear();
  const std::vector<std::string>& files = App_.Settings().RecentFiles();
  if (files.empty()) {
    QAction* none = new QAction(QStringLiteral("Recent File"), FileMenuWidget_);
    none->setEnabled(false);
    RecentActions_.append(none);
  }
  for (int i = 0; i < static_cast<int>(files.size()); ++i) {
    const std::string path = files[static_cast<size_t>(i)];
    // Only the number is a mnemonic: an "&" in the path is shown as itself.
    const QString shown = ShownPath(path).replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), FileMenuWidget_);
    entry->setData(cmd::kFirstRecentFile + i);
    // An entry whose file has gone stays in the list: the failed open says why.
    connect(entry, &QAction::triggered, this, [this, path] { App_.OpenByPath(path); });
    RecentActions_.append(entry);
  }
  FileMenuWidget_->insertActions(RecentEnd_, RecentActions_);
}

bool CMainFrame::ToolbarShown() const { return Bar_ != nullptr && !Bar_->isHidden(); }

void CMainFrame::StoreToolbarVisible(bool visible) { App_.ToolbarVisible = visible ? 1 : 0; }

void CMainFrame::ShowPlainBox(const std::string& text, const std::string& caption) {
  App_.HostImpl().ShowMessage(text, caption, MessageIcon::None);
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
    App_.OpenByPath(path);
    if (paths.size() >= 2) {
      for (int set = 0; set < kSetCount; ++set) ViewWidget_->SelectSet(set);
    }
  }
  if (paths.size() == 1) ViewWidget_->RepaintNow();
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
  if (event->type() == QEvent::ToolTip && widget != nullptr && widget->parentWidget() == Bar_) {
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
      Table_.Execute(id);
      return true;
    }
    // An accelerator whose command is disabled, or that no one handles, does nothing; it is
    // not another key press of the view (Ctrl+V would break the key sequence that lifts fixing).
    if (IsAcceleratorKey(key->key(), key->modifiers())) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace tavro
