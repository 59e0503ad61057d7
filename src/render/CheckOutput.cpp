#include "render/CheckOutput.h"

#include <string>

#include "document/CTavroDoc.h"
#include "render/RenderRun.h"

namespace tavro::render {

void PrintLoadReport(const CTavroDoc& doc, std::FILE* out) {
  for (const LoadProblem& problem : doc.LastLoad().Problems.All()) {
    const std::string line = FormatLoadProblem(problem) + "\n";
    std::fwrite(line.data(), 1, line.size(), out);
  }
  std::fflush(out);
}

int RunRenderAndCheck(CTavroDoc& doc, const RenderOptions& options, RecordingHost* clock) {
  const int status = RunRender(doc, options, clock);
  if (!options.check) return status;
  // A set that read nothing usable still says why, line by line.
  PrintLoadReport(doc, stdout);
  const bool problems = !doc.LastLoad().Problems.Empty();
  return status == kExitShown && problems ? kExitProblems : status;
}

}  // namespace tavro::render
