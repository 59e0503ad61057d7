// One document as the page drives it: the same DocumentSession as the window's, and what of its
// composed map changed since the page last took it. The page reads the changed area straight out
// of the module's memory into the buffer the worker hands over: true colour from the map itself
// (its words are the canvas's red, green, blue, opaque already), 256 colours from the area looked
// up here into four-byte words, a pass that runs several times faster compiled than as script.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "archives/ZipExport.h"
#include "document/CTavroDoc.h"
#include "document/DocumentSession.h"
#include "platform/MapRect.h"
#include "recording/PlayfieldThumbnail.h"
#include "web/WebHost.h"

namespace tavro {

class WebSession {
 public:
  WebSession();
  WebSession(const WebSession&) = delete;
  WebSession& operator=(const WebSession&) = delete;

  DocumentSession& Session() { return Driver_; }
  const DocumentSession& Session() const { return Driver_; }
  const CTavroDoc& Doc() const { return Driver_.Doc(); }
  WebHost& Outside() { return Platform_; }

  // Notes what a call changed, for the next TakePicture. A new set (or none) and a whole-view
  // change make the whole picture again.
  void Note(const SessionChange& change);
  // For what changed the whole map outside the session's changes (a recording's end).
  void NoteWhole() { Whole_ = true; }

  int32_t Width() const { return PictureWidth_; }
  int32_t Height() const { return PictureHeight_; }
  // The area of the map that changed since the last call (the whole picture after a new set or
  // a new size), empty when nothing did. A set read but not yet started has nothing composed to
  // show, so the picture waits, unchanged, for StartSet.
  MapRect TakePicture();
  // Where the area TakePicture returned lies, four bytes a pixel (red, green, blue, 255), rows
  // RowBytes() apart: in true colour the map's own rows, in 256 colours the area looked up on
  // its own; nothing once the map is no longer the one the area was taken from.
  const uint8_t* AreaPixels() const;
  size_t AreaBytes() const;
  size_t RowBytes() const { return RowBytes_; }

  // The whole picture in small for the page's shelf. It is made apart from what TakePicture
  // keeps, so the changed area the page is sent next stays as it was.
  PlayfieldThumbnail Thumbnail(int32_t box) const { return ThumbnailOfPlayfield(Doc(), box); }
  // The open set's folder as a ZIP archive at `path`.
  ZipExportResult ExportSet(const std::string& path) const;

 private:
  // Is the area taken last read from the map in place (true colour), and is the map still it?
  bool AreaInMap() const;

  WebHost Platform_;
  DocumentSession Driver_{Platform_, Platform_};
  std::vector<uint32_t> Looked_;  // the last area in 256 colours, as canvas words
  MapRect Area_;                  // what TakePicture returned last
  size_t RowBytes_ = 0;
  int32_t PictureWidth_ = 0;
  int32_t PictureHeight_ = 0;
  bool Whole_ = true;
  MapRect Pending_;
};

}  // namespace tavro
