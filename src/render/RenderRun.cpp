#include "render/RenderRun.h"

#include <cstdio>
#include <string>

#include "document/DocumentSession.h"
#include "recording/Recorder.h"
#include "render/ConsoleHost.h"
#include "render/PngOutput.h"

namespace tavro::render {

// The viewer's File > Open: a configuration file directly, an archive through its temporary
// directory, its configuration file chosen from the command line.
// The load's messages come first; the set's first events (and their "debug(" texts) after them.
bool OpenSet(DocumentSession& session, ConsoleHost& console, const std::string& path) {
  OpenResult result = session.Open(path);
  for (const std::string& message : result.Messages) console.Say(message);
  if (!result.ConfigChoices.empty()) {
    std::string chosen;
    if (!console.ChooseConfigFile(result.ConfigChoices, chosen)) return false;
    result = session.Open(path, {false, chosen});
    for (const std::string& message : result.Messages) console.Say(message);
  }
  session.StartSet();
  return result.Opened && session.Doc().IsSetLoaded();
}

namespace {

bool ChooseSet(DocumentSession& session, ConsoleHost& console, int set) {
  if (session.IsSetAvailable(set)) {
    session.SelectSet(set);
    return true;
  }
  console.Say("set " + std::to_string(set) + " is not in use");
  return false;
}

// The Color menu offers only the groups the palette files have.
bool ChooseGroup(DocumentSession& session, ConsoleHost& console, int group) {
  if (!session.IsGroupAvailable(group)) {
    const CTavroDoc& doc = session.Doc();
    console.Say("colour group " + std::to_string(group) + " is not in this set (it has " +
                std::to_string(doc.Set().Palettes().GroupCount) + ")");
    return false;
  }
  session.SelectGroup(group);
  return true;
}

}  // namespace

bool ApplyStep(DocumentSession& session, ConsoleHost& console, const SetStep& step) {
  switch (step.StepKind) {
    case SetStep::Kind::Set:
      return ChooseSet(session, console, step.Value);
    case SetStep::Kind::Group:
      return ChooseGroup(session, console, step.Value);
    case SetStep::Kind::Mode256:
      session.ColourMode256();
      return true;
    case SetStep::Kind::ModeTrue:
      session.ColourModeTrue();
      return true;
    case SetStep::Kind::Transparent50:
      session.Transparent50();
      return true;
  }
  return true;
}

namespace {

// File > Save As without its dialog and without the question: only a set that did not come out
// of an archive can be saved.
bool SaveSet(DocumentSession& session, ConsoleHost& console, const std::string& path) {
  if (!session.States().CanSave) {
    console.Say("a set read from an archive cannot be saved");
    return false;
  }
  const SaveResult saved = session.Save(path, true);
  if (!saved.Saved) console.Say(saved.Error);
  return saved.Saved;
}

void PrintInformation(const DocumentSession& session) {
  const std::string text = session.InformationText();
  std::fwrite(text.data(), 1, text.size(), stdout);
}

bool RecordSet(DocumentSession& session, ConsoleHost& console, const RenderOptions& options,
               RecordingHost& clock) {
  const RecordingResult result = RecordAnimation(
      session, clock, {options.Output, options.RecordMs, options.Zoom, options.Inputs});
  for (const std::string& note : result.Notes) console.Say(note);
  if (!result.Written) console.Say(result.Error);
  return result.Written;
}

int RunSteps(DocumentSession& session, ConsoleHost& console, const RenderOptions& options,
             RecordingHost* clock) {
  if (!OpenSet(session, console, options.File)) return kExitNoSet;
  for (const SetStep& step : options.Steps) {
    if (!ApplyStep(session, console, step)) return kExitUsage;
  }
  if (options.RecordMs > 0 && clock != nullptr) {
    if (!RecordSet(session, console, options, *clock)) return kExitNoSet;
  } else if (!options.Output.empty()) {
    std::string error;
    if (!WritePlayfieldPng(session.Doc(), options.Zoom, options.Output, error)) {
      console.Say(error);
      return kExitNoSet;
    }
  }
  if (options.Info) PrintInformation(session);
  if (!options.SavePath.empty() && !SaveSet(session, console, options.SavePath)) return kExitNoSet;
  return kExitShown;
}

// --check: every problem of the last load as "FILE:LINE: kind: detail", after the run's messages.
void PrintLoadReport(const CTavroDoc& doc) {
  for (const LoadProblem& problem : doc.LastLoad().Problems.All()) {
    const std::string line = FormatLoadProblem(problem) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  std::fflush(stdout);
}

}  // namespace

int RunRender(DocumentSession& session, ConsoleHost& console, const RenderOptions& options,
              RecordingHost* clock) {
  const int status = RunSteps(session, console, options, clock);
  if (!options.Check) return status;
  // A set that read nothing usable still says why, line by line.
  PrintLoadReport(session.Doc());
  const bool problems = !session.Doc().LastLoad().Problems.Empty();
  return status == kExitShown && problems ? kExitProblems : status;
}

}  // namespace tavro::render
