// The document operations the window calls, in one place. Each forwards to the core operation
// that implements it; where that operation has not reached this branch yet, a stand-in here
// does the least that keeps the window consistent. Rewire these when the core lands.
#pragma once

#include <string>

#include "document/CTavroDoc.h"

namespace tavro::adapters {

// The framework's open step for an absolute path (archives included): the document reads the
// file, or reports why not. On a failure that the document has not reported itself,
// `failure` holds a text for the user.
bool OpenDocument(CTavroDoc& doc, const std::string& absolutePath, std::string& failure);

// The framework's new-document step: an empty document with the defaults in place.
bool NewDocument(CTavroDoc& doc);

// View > 256Color, View > TrueColor, Option > Transparent 50%, Color > n.
void ColourMode256(CTavroDoc& doc);
void ColourModeTrue(CTavroDoc& doc);
void TransparentHalf(CTavroDoc& doc);
void SelectColourGroup(CTavroDoc& doc, int group);

}  // namespace tavro::adapters
