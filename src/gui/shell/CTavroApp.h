// CTavroApp: the application object. Reads the settings, makes the one frame, session (which owns
// the document) and view, opens what the command line names (or starts an empty document), and
// writes the toolbar setting back when it goes away. Every way of opening a file ends in
// OpenByPath, and everything the shell does to the document goes through the session.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "document/DocumentSession.h"
#include "gui/shell/AppSettings.h"
#include "gui/shell/DocTemplate.h"
#include "gui/shell/OpenProgressDialog.h"
#include "gui/shell/QtHost.h"

namespace tavro {

class CMainFrame;
class CTavroView;

// The command line after the program name is one path: the arguments (raw bytes) joined with
// single blanks, quotes and all. Empty when there are none.
std::string CommandLineTail(const std::vector<std::string>& argumentsAfterProgram);

class CTavroApp {
 public:
  CTavroApp();
  ~CTavroApp();
  CTavroApp(const CTavroApp&) = delete;
  CTavroApp& operator=(const CTavroApp&) = delete;

  // The start-up sequence; shows the frame. Always true.
  bool InitInstance(const std::vector<std::string>& argumentsAfterProgram);

  // Opens `path` (bytes, made absolute) in the one document, also when it is the file already
  // open, which is then read again. Returns the document, or nullptr when the open failed (or
  // another open is still running).
  const CTavroDoc* OpenByPath(const std::string& path);
  // A path as a Qt widget shows it (see PathFromShown).
  const CTavroDoc* OpenByPath(const QString& path);

  void OnFileNew();
  void OnFileOpen();
  // File > Save: into the document's own file when it exists and may be read and written (after
  // the overwrite question), otherwise as Save As. True when the file was written.
  bool OnFileSave();
  // File > Save As: asks for a name, then saves there. True when the file was written.
  bool OnFileSaveAs();
  // File > Record Animation: asks for a length and a file, then records the set from its present
  // state; the window shows the set as the recording's end left it.
  void OnFileRecord();
  void OnHelpContents();
  void OnAppAbout();

  // 1 while the toolbar is shown; written to the settings when the application goes away.
  int ToolbarVisible = 1;
  // What the record dialog offers next time.
  uint32_t LastRecordingMs = 5000;
  QString LastRecordingPath;
  // How long an open runs before its progress dialog shows.
  int OpenProgressDelayMs = OpenProgressDialog::kDefaultDelayMs;

  const CTavroDoc& Doc() const { return session_.Doc(); }
  DocumentSession& Session() { return session_; }
  CMainFrame& Frame() { return *MainFrame_; }
  CTavroView& View();
  QtHost& HostImpl() { return Platform_; }
  AppSettings& Settings() { return Profile_; }
  SingleDocTemplate& Template() { return DocTemplate_; }

 private:
  void CreateFrame();
  void AfterDocumentChanged();
  // The document's open with the user's part in it: Shift, the wait cursor, the messages, the
  // choice among several configuration files, and then the set's start.
  OpenResult OpenDocument(const std::string& absolute);
  // One pass of the session's open under the wait cursor, with progress once it takes long;
  // both are gone when it returns, before any box can show.
  OpenResult RunOpen(const std::string& absolute, const OpenChoice& choice);
  void ShowOpenMessages(const OpenResult& result);
  // Saves to `path`, or asks for a name first when it is empty; on success the document takes
  // the name it was saved under.
  bool DoSave(const std::string& path);

  bool OpenRunning_ = false;
  AppSettings Profile_;
  QtHost Platform_;
  DocumentSession session_;  // plays on Platform, so it comes after it
  SingleDocTemplate DocTemplate_;
  std::unique_ptr<CMainFrame> MainFrame_;  // last: goes before the document it shows
};

}  // namespace tavro
