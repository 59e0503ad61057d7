// The one door between the core and the outside world.
//
// The core (document, image files, composer, scripts, document-side interaction) never calls a
// toolkit or the clock directly. Everything it needs from outside goes through a Host: the Qt
// shell implements it for the window, tavro-render for the console, tests with a recording fake.
// Keep it small: a method here is a promise every host must keep.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/MapRect.h"

namespace tavro {

// None: a plain box with its text and an OK button, as the information and inspection boxes are.
enum class MessageIcon { Exclamation, Information, Question, None };

class Host {
 public:
  virtual ~Host() = default;

  // A modal message box with an OK button. An empty caption means the application title.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
  // A modal Yes/No question with an exclamation icon; true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;

  // Plays a sound file asynchronously; a new sound replaces one still playing. Missing file or
  // no audio device: silence.
  virtual void PlaySound(const std::string& path) = 0;

  // Is the Shift key held down at this moment?
  virtual bool IsShiftDown() = 0;
  // Millisecond tick count of a steady clock, truncated to 32 bits (wraps).
  virtual uint32_t TickCount() = 0;
  // Seconds of the wall clock, used only to seed the script's random generator.
  virtual uint32_t ClockSeconds() = 0;

  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;

  // Lets the user choose one of several configuration files (names in the order given).
  // Returns false when the choice was cancelled; on OK `chosen` holds the name, possibly empty.
  virtual bool ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) = 0;

  // A string from the settings file (for example section "OPTION", key "TMPDIR"); empty if unset.
  virtual std::string ProfileString(const std::string& section, const std::string& key) = 0;
  // Adds a path to the application's recent-file list.
  virtual void AddToRecentFiles(const std::string& path) = 0;

  // View notifications. The document never paints; it tells the view what changed.
  // The whole view must be redrawn (without erasing) and scrolled back to the origin.
  virtual void InvalidateWholeView() = 0;
  // A rectangle of the map (map coordinates, right and bottom exclusive) must be repainted now.
  virtual void RepaintMapRect(const MapRect& rect) = 0;
};

}  // namespace tavro
