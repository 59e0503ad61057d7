// --check: the load report on stdout, one problem a line, after whatever else the run printed.
#pragma once

#include <cstdio>

#include "render/RenderOptions.h"

namespace tavro {
class CTavroDoc;
class RecordingHost;
}  // namespace tavro

namespace tavro::render {

inline constexpr int kExitProblems = 3;

// Writes every problem of the document's last load as "FILE:LINE: kind: detail" lines.
void PrintLoadReport(const CTavroDoc& doc, std::FILE* out);

// RunRender, then with --check the report: a run that would have ended well ends with
// kExitProblems when the report lists anything. Other exit statuses stay as they are.
int RunRenderAndCheck(CTavroDoc& doc, const RenderOptions& options, RecordingHost* clock = nullptr);

}  // namespace tavro::render
