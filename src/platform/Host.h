// What the core needs from the outside world, and what it tells the outside world as it happens.
//
// The core (document, image files, composer, scripts) never calls a toolkit or the clock
// directly. It asks a Host for the few services it cannot do without (a clock, sound, settings)
// and tells ChangeNotices what changed while an operation runs. It never asks a person anything:
// questions, message boxes and the wait cursor belong to the front end, which learns what to show
// from the results of the calls it makes. Keep both small: a method here is a promise every front
// end must keep.
#pragma once

#include <cstdint>
#include <string>

#include "platform/MapRect.h"

namespace tavro {

class Host {
 public:
  virtual ~Host() = default;

  // Plays a sound file asynchronously; a new sound replaces one still playing. Missing file or
  // no audio device: silence.
  virtual void PlaySound(const std::string& path) = 0;
  // Millisecond tick count of a steady clock, truncated to 32 bits (wraps).
  virtual uint32_t TickCount() = 0;
  // Seconds of the wall clock, used only to seed the script's random generator.
  virtual uint32_t ClockSeconds() = 0;
  // A string from the settings file (for example section "OPTION", key "TMPDIR"); empty if unset.
  virtual std::string ProfileString(const std::string& section, const std::string& key) = 0;
};

// News the core gives while an operation is still running. Every method does nothing unless
// overridden. The document tells its session all of it, and the session sums the repaints up in
// what its calls return; a front end behind a session hears only ShowDebugText, the one notice
// that cannot wait for the call to return.
class ChangeNotices {
 public:
  virtual ~ChangeNotices() = default;

  // A newly loaded set is about to be shown, before its first events run: what the window kept
  // about how it showed the old set starts over.
  virtual void NewSetShowing() {}
  // The whole view must be redrawn (without erasing) and scrolled back to the origin.
  virtual void InvalidateWholeView() {}
  // A rectangle of the map (map coordinates, right and bottom exclusive) must be repainted now.
  virtual void RepaintMapRect(const MapRect&) {}
  // A script's "debug(" text. The script waits until this returns: the window shows it in a
  // modal box, inside which the alarms keep running.
  virtual void ShowDebugText(const std::string&) {}
};

// Both sides with nothing behind them: a clock that stands still unless moved, no sound, no
// settings but the temporary directory, no picture. The console, the thumbnailer, the tests and
// the fuzzers start from it.
class NullHost : public Host, public ChangeNotices {
 public:
  uint32_t Tick = 0;
  uint32_t Seconds = 12345;
  std::string TmpDir;  // "OPTION"/"TMPDIR"

  void PlaySound(const std::string&) override {}
  uint32_t TickCount() override { return Tick; }
  uint32_t ClockSeconds() override { return Seconds; }
  std::string ProfileString(const std::string& section, const std::string& key) override {
    return section == "OPTION" && key == "TMPDIR" ? TmpDir : std::string();
  }
};

}  // namespace tavro
