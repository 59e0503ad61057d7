// Helpers for the widget tests: a private settings location, a document filled by hand as if a
// set had loaded, and a frame stand-in for testing the view on its own.
#pragma once

#include <QPaintEvent>
#include <QRegion>
#include <QTemporaryDir>
#include <initializer_list>
#include <memory>
#include <vector>

#include "document/CTavroDoc.h"
#include "gui/shell/CTavroApp.h"
#include "gui/view/CTavroView.h"
#include "support/FakeHost.h"
#include "support/SetBuilder.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"

namespace tavro::test {

// Points the per-user settings at a fresh directory for as long as it lives.
class ScopedSettingsDir {
 public:
  ScopedSettingsDir();
  ~ScopedSettingsDir();
  QString IniPath() const;  // the settings file the program reads and writes
  QString Path() const { return Dir_.path(); }

 private:
  QByteArray Saved_;  // XDG_CONFIG_HOME before
  QTemporaryDir Dir_;
};

// What a widget test of the whole program stands on: settings of its own, a folder for its set
// files and the application, with every message it shows recorded. A test's init() calls
// BeginFolders (and StartApp when it wants the application from the start); cleanup() calls End.
class AppTestCase : public QObject {
 protected:
  std::unique_ptr<ScopedSettingsDir> settingsDir_;
  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<SetFiles> files_;
  std::unique_ptr<CTavroApp> app_;
  std::vector<QtHost::Message> messages_;

  void BeginFolders();
  // A new application recording its messages, started (InitInstance with no arguments) when
  // `start`.
  void StartApp(bool start = true);
  // The application first, then what it stood on.
  void End();
};

inline constexpr QRgb kPictureColour = 0xffc83214;  // index 1 of the hand-made colour table
inline constexpr QRgb kTopRowColour = 0xff1450c8;   // index 2: the map's top row only

// Makes the document look like a loaded 8-bit set of `width` x `height`: `sets` in use, set 0
// shown, `groups` colour groups, three colours, every map pixel index 1 except the top row,
// index 2.
void FillShownSet(CTavroDoc& doc, std::initializer_list<int> sets, int groups, int width = 448,
                  int height = 320);

// A frame for a view standing on its own.
class StubFrameLink : public ViewFrameLink {
 public:
  int Refreshes = 0;
  int Updates = 0;
  bool ToolbarVisible = true;
  int StoredToolbar = -1;
  QWidget* Window = nullptr;

  void RefreshCommandStates() override { ++Refreshes; }
  void UpdateCommandStates() override { ++Updates; }
  bool ToolbarShown() const override { return ToolbarVisible; }
  void StoreToolbarVisible(bool visible) override { StoredToolbar = visible ? 1 : 0; }
  QWidget* FrameWindow() override { return Window; }
  // The plain boxes the view showed, caption and text.
  std::vector<std::pair<std::string, std::string>> Boxes;
  void ShowPlainBox(const std::string& text, const std::string& caption) override {
    Boxes.emplace_back(caption, text);
  }
};

// A view standing on its own as its own window, without scroll bars. The frame reports no
// toolbar, since a toolbar change would shrink the window to the picture.
std::unique_ptr<CTavroView> MakeStandaloneView(DocumentSession& session, StubFrameLink& frame);

// File > Open as the window runs it, on a view standing on its own: the load's messages go to
// `host` (the session's front end), then the set starts and the view shows it.
OpenResult OpenInView(CTavroView& view, FakeHost& host, const std::string& path);

// Collects the regions of the paint events a widget receives.
class PaintRecorder : public QObject {
 public:
  explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
  QRegion Painted;
  int Events = 0;
  void Clear() {
    Painted = QRegion();
    Events = 0;
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      Painted += static_cast<QPaintEvent*>(event)->region();
      ++Events;
    }
    return false;
  }
};

}  // namespace tavro::test
