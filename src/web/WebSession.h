// One document as the page drives it: the same DocumentSession as the window's, with the picture
// kept as the canvas takes it (four bytes a pixel, red, green, blue, opaque) and brought up to
// date only where the core repainted.
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

  DocumentSession& Session() { return Driver; }
  const DocumentSession& Session() const { return Driver; }
  const CTavroDoc& Doc() const { return Document; }
  // For what the session has no call for: a recording lends the document a clock of its own, a
  // hidden page holds the alarms back.
  CTavroDoc& EditDoc() { return Document; }
  WebHost& Outside() { return Platform; }

  // Notes what a call changed, for the next TakePicture.
  void Note(const SessionChange& change);
  // A new set or none: the whole picture is made again.
  void NoteWhole() { Whole = true; }

  int32_t Width() const { return PictureWidth; }
  int32_t Height() const { return PictureHeight; }
  // Brings the picture up to date with the map; returns the area that changed (the whole
  // picture after a new set), empty when nothing did.
  MapRect TakePicture();
  const std::vector<uint8_t>& Rgba() const { return Pixels; }

 private:
  WebHost Platform;
  CTavroDoc Document{Platform, Platform};
  DocumentSession Driver{Document, Platform, Platform};
  std::vector<uint8_t> Pixels;
  int32_t PictureWidth = 0;
  int32_t PictureHeight = 0;
  bool Whole = true;
  MapRect Pending;
};

}  // namespace tavro
