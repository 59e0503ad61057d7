// File > "Record Animation...": the set recorded from its present state by the same recorder as
// tavro-render's, on a virtual clock the session lends the document for the length of the
// recording; the scripts' boxes and sounds are left out of it.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/LocalPaths.h"
#include "gui/shell/RecordDialog.h"
#include "gui/view/CTavroView.h"
#include "recording/Recorder.h"

namespace tavro {

void CTavroApp::OnFileRecord() {
  if (!session_.States().Loaded) return;
  uint32_t length = LastRecordingMs;
  QString chosen = LastRecordingPath;
  // First offered beside the set, under its name; never in an archive's temporary directory.
  if (chosen.isEmpty() && session_.CanSave())
    chosen = SuggestedRecordingPath(DocTemplate_.PathName());
  if (!Platform_.Prompts().PromptRecording(MainFrame_.get(), length, chosen) || chosen.isEmpty())
    return;
  LastRecordingMs = length;
  LastRecordingPath = chosen;

  const std::string target = FullPath(PathFromShown(chosen));
  CTavroView& view = MainFrame_->View();
  Platform_.BeginWaitCursor();
  const RecordingResult result =
      RecordFromPresent(session_, {target, length, std::max(kMinZoom, view.Zoom()), {}});
  Platform_.EndWaitCursor();
  // The set goes on from where the recording left it, which the window has not seen yet.
  view.RepaintNow();
  MainFrame_->UpdateActions();
  view.ScheduleTimerPass();
  for (const std::string& note : result.Notes)
    Platform_.ShowMessage(note, std::string(), MessageIcon::Information);
  if (!result.Written) {
    Platform_.ShowMessage(result.Error, std::string(), MessageIcon::Exclamation);
    return;
  }
  std::error_code unknown;
  const uintmax_t bytes = std::filesystem::file_size(target, unknown);
  Platform_.ShowMessage(
      RecordingWrittenNote(target, result.RecordedMs, unknown ? 0 : bytes).toStdString(),
      std::string(), MessageIcon::Information);
}

}  // namespace tavro
