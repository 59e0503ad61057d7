// One document as the page drives it: the same DocumentSession as the window's, and what of its
// composed map changed since the page last took it. The page reads the changed area straight
// from the map (true colour's words are the canvas's red, green, blue, opaque already; 256
// colours go through the colour table as four-byte words), so that the one copy a picture makes
// on its way to the canvas is the one into the buffer the worker hands over.
#pragma once

#include <array>
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
  // The area of the map that changed since the last call (the whole picture after a new set or
  // a new size), empty when nothing did; the colour table is brought up to date for it. A set
  // read but not yet started has nothing composed to show, so the picture waits, unchanged,
  // for StartSet.
  MapRect TakePicture();
  // The composed map's rows as they lie in memory, RowBytes() apart: four bytes a pixel in true
  // colour, else one colour index. Empty while nothing is composed.
  bool TrueColour() const;
  const uint8_t* MapBytes() const;
  size_t MapSize() const;
  size_t RowBytes() const;
  // Red, green, blue, 255 for each colour index, as of the last TakePicture; a colour group change
  // repaints the whole map, so one table serves every area taken.
  const std::array<uint8_t, kPaletteColours * 4>& Colours() const { return Colours_; }

 private:
  WebHost Platform_;
  DocumentSession Driver_{Platform_, Platform_};
  // Four-byte aligned, so that the page can read it as one 32-bit word a colour.
  alignas(4) std::array<uint8_t, kPaletteColours* 4> Colours_ = {};
  int32_t PictureWidth_ = 0;
  int32_t PictureHeight_ = 0;
  bool Whole_ = true;
  MapRect Pending_;
};

}  // namespace tavro
