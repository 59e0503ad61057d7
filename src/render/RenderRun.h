// One run of tavro-render: load, apply the steps in order, write what was asked for.
#pragma once

#include "render/RenderOptions.h"

namespace tavro {
class CTavroDoc;
}

namespace tavro::render {

inline constexpr int kExitShown = 0;
inline constexpr int kExitNoSet = 1;
inline constexpr int kExitUsage = 2;

// Returns the exit status. Messages go through the document's host.
int RunRender(CTavroDoc& doc, const RenderOptions& options);

}  // namespace tavro::render
