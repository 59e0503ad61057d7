// File > "Record Animation...": the set recorded from its present state by the same recorder as
// tavro-render's, on a virtual clock lent to the document for the length of the recording.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "gui/shell/CMainFrame.h"
#include "gui/shell/CTavroApp.h"
#include "gui/shell/LocalPaths.h"
#include "gui/shell/RecordDialog.h"
#include "recording/Recorder.h"

namespace tavro {

void CTavroApp::OnFileRecord() {
  if (!Document.IsSetLoaded()) return;
  uint32_t length = LastRecordingMs;
  QString chosen = LastRecordingPath;
  // First offered beside the set, under its name; never in an archive's temporary directory.
  if (chosen.isEmpty() && Document.CanSave())
    chosen = SuggestedRecordingPath(DocTemplate.PathName());
  if (!Platform.Prompts().PromptRecording(MainFrame.get(), length, chosen) || chosen.isEmpty())
    return;
  LastRecordingMs = length;
  LastRecordingPath = chosen;

  // Script boxes would stop the recording halfway and let the window's timer in; the scripts'
  // texts and sounds are left out of it.
  RecordingHost clock(Platform, Platform, RecordingHost::Messages::Drop);
  const uint32_t started = Platform.TickCount();
  clock.SetTick(started);
  clock.SetClockSeconds(Platform.ClockSeconds());
  const std::string target = FullPath(PathFromShown(chosen));
  RecordingResult result;
  {
    // The document plays on the clock for the length of the recording only.
    DocumentSession session(Document, clock, clock);
    Platform.BeginWaitCursor();
    result = RecordAnimation(session, clock,
                             {target, length, std::max(1, MainFrame->View().Zoom()), {}});
    Platform.EndWaitCursor();
  }

  // The set goes on from where the recording left it, its alarms as far from due as they were
  // at the recording's end.
  const uint32_t reached = result.Written ? started + result.RecordedMs : clock.CurrentTick();
  Document.Scripts().DelayAlarms(Platform.TickCount() - reached);
  Platform.RepaintMapRect(
      {0, 0, Document.Set().PlayfieldWidth(), Document.Set().PlayfieldHeight()});
  for (const std::string& note : result.Notes)
    Platform.ShowMessage(note, std::string(), MessageIcon::Information);
  if (!result.Written) {
    Platform.ShowMessage(result.Error, std::string(), MessageIcon::Exclamation);
    return;
  }
  std::error_code unknown;
  const uintmax_t bytes = std::filesystem::file_size(target, unknown);
  Platform.ShowMessage(
      RecordingWrittenNote(target, result.RecordedMs, unknown ? 0 : bytes).toStdString(),
      std::string(), MessageIcon::Information);
}

}  // namespace tavro
