// Edit > Copy: the composed picture on the system clipboard at its own size (Qt side).
#pragma once

#include <QString>

#include "document/CTavroDoc.h"

namespace tavro {

// The clipboard format that carries the bitmap bytes exactly as MakeClipboardBmpFile makes them.
inline const QString kBmpMimeType = QStringLiteral("image/bmp");

// Puts the picture on the clipboard twice over: as "image/bmp" (a complete .bmp file of 4, 8 or
// 24 bits a pixel) and as an image, for programs that take only pictures they can convert. The
// wait cursor shows meanwhile. False, with the clipboard left as it was, when there is no
// picture to copy.
bool CopyPictureToClipboard(const CTavroDoc& doc);

}  // namespace tavro
