// One run of tavro-render: load, apply the steps in order, write what was asked for.
#pragma once

#include <string>

#include "render/RenderOptions.h"

namespace tavro {
class DocumentSession;
class RecordingHost;
}  // namespace tavro

namespace tavro::render {

class ConsoleHost;

inline constexpr int kExitShown = 0;
inline constexpr int kExitNoSet = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitProblems = 3;  // --check listed something

// Opens a configuration file or an archive as File > Open does; false when no set was loaded.
bool OpenSet(DocumentSession& session, ConsoleHost& console, const std::string& path);
// Applies one set, group or mode option; false (and a message) when the set cannot take it.
bool ApplyStep(DocumentSession& session, ConsoleHost& console, const SetStep& step);

// Returns the exit status. Messages go to `console`. A recording (--record) needs the session's
// document to run under `clock` from its construction on. With --check the load
// report follows on stdout, and a run that would have ended well ends with kExitProblems when
// the report lists anything.
int RunRender(DocumentSession& session, ConsoleHost& console, const RenderOptions& options,
              RecordingHost* clock = nullptr);

}  // namespace tavro::render
