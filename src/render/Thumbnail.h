// tavro-render --thumbnail: the picture a file manager shows for a set or an archive of one.
#pragma once

#include <QImage>

#include "render/RenderOptions.h"

namespace tavro::render {

// `image` scaled down smoothly to fit `size` x `size` with its aspect kept; never enlarged, and
// at least one pixel each way.
QImage FitThumbnail(const QImage& image, int size);

// Draws the thumbnail `options` ask for in a bounded child process and moves it to
// `options.output` only when it was made whole. Returns the exit status; on failure the output
// file does not exist.
int RunThumbnail(const RenderOptions& options);

}  // namespace tavro::render
