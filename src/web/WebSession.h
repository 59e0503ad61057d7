// One document as the page drives it: the same DocumentSession as the window's, with the picture
// kept as the canvas takes it (four bytes a pixel, red, green, blue, opaque) and brought up to
// date only where a call's change says the map was repainted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "document/DocumentSession.h"
#include "platform/MapRect.h"
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
  // Brings the picture up to date with the map; returns the area that changed (the whole
  // picture after a new set), empty when nothing did. A set read but not yet started has
  // nothing composed to show, so the picture waits, unchanged, for StartSet.
  MapRect TakePicture();
  const std::vector<uint8_t>& Rgba() const { return Pixels_; }

 private:
  WebHost Platform_;
  DocumentSession Driver_{Platform_, Platform_};
  std::vector<uint8_t> Pixels_;
  int32_t PictureWidth_ = 0;
  int32_t PictureHeight_ = 0;
  bool Whole_ = true;
  MapRect Pending_;
};

}  // namespace tavro
