// The session that front ends drive: everything a person can do to the one document, each rule
// stated once. The window, tavro-render and the recorder all go through it.
//
// A session stands between the document and the front end's notices: what the document repaints
// reaches the front end at once (a drag step must show before the next move) and is also summed
// up in the result of the call that caused it, so that a front end which draws later, or not at
// all, learns what changed from the result alone. Coordinates are map pixels; how large the map is
// shown and where it is scrolled are the front end's.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "document/CTavroDoc.h"
#include "platform/Host.h"
#include "platform/MapRect.h"

namespace tavro {

// What one call changed.
struct SessionChange {
  MapRect Repaint;         // the map area repainted (map coordinates); empty for none
  bool WholeView = false;  // a new set (or none) is shown: the whole view changes
  bool SetSwitched = false;
  // A held object moved by (StepX, StepY) and now covers ObjectBox (its position to its right
  // and bottom extent), so a view can follow it past its visible edge.
  bool HeldMoved = false;
  int32_t StepX = 0;
  int32_t StepY = 0;
  MapRect ObjectBox;
  // A fixed object was pulled further than it gives; the front end lets it go (Release).
  bool LimitReached = false;
};

// Which commands are enabled and checked now.
struct CommandStates {
  bool Loaded = false;  // information, adjust, copy, record, test, the colour modes
  bool CanSave = false;
  std::array<bool, kSetCount> SetEnabled{};
  std::array<bool, kSetCount> SetChecked{};
  std::array<bool, kGroupCount> GroupEnabled{};
  std::array<bool, kGroupCount> GroupChecked{};
  bool Colour256Checked = false;
  bool TrueColourChecked = false;
};

class DocumentSession : private ChangeNotices {
 public:
  // Puts itself between `doc` and `frontEnd` until it goes, then gives the document back the
  // outside it had. `doc` must outlive the session.
  DocumentSession(CTavroDoc& doc, Host& host, ChangeNotices& frontEnd);
  ~DocumentSession() override;
  DocumentSession(const DocumentSession&) = delete;
  DocumentSession& operator=(const DocumentSession&) = delete;

  const CTavroDoc& Doc() const { return Document; }

  // Called at the end of every call that may change the document, with what it changed: the one
  // place where a front end follows up (arms its timer for the next pass, refreshes its
  // commands), so no handler has to remember to.
  void FollowEachChange(std::function<void(const SessionChange&)> follower) {
    Follower = std::move(follower);
  }

  // ---- the rules ----
  bool IsSetAvailable(int32_t n) const;    // a loaded set uses set n
  bool IsGroupAvailable(int32_t n) const;  // a loaded set's palettes have colour group n
  CommandStates States() const;

  // ---- files ----
  OpenResult Open(const std::string& path, const OpenChoice& choice = {},
                  OpenProgress& progress = NoOpenProgress());
  SessionChange NewDocument();
  bool MustConfirmOverwrite(const std::string& path) const;
  SaveResult Save(const std::string& path, bool overwriteConfirmed);

  // ---- sets, colours ----
  // Nothing happens for a set or group that is not available.
  SessionChange SelectSet(int32_t n);
  SessionChange SelectGroup(int32_t n);
  SessionChange ColourMode256();
  SessionChange ColourModeTrue();
  SessionChange Transparent50();
  SessionChange AdjustObjects();

  // ---- the pointer, in map coordinates (held to where the pointer may go) ----
  SessionChange Press(int32_t x, int32_t y);
  SessionChange Move(int32_t x, int32_t y);
  // The held object is dropped where the last move left it; nothing when none is held.
  SessionChange Release();
  bool HoldsObject() const { return Document.Pointer().HeldSlot() != 0; }
  // A key by its virtual-key code: the key sequence that lifts fixing, and the digit keys (also
  // on the number pad) that choose a set.
  SessionChange Key(int32_t virtualKey);

  // The object whose pixel shows at map (x, y), as a press there would find it; -1 for none.
  int32_t ObjectAt(int32_t x, int32_t y);
  // Recomposes and repaints what event actions left dirty.
  SessionChange Flush();

  // ---- time ----
  SessionChange RunTimerPass(uint32_t now);
  int32_t NextTimerPassDelay(uint32_t now) const { return Document.NextTimerPassDelay(now); }

  // ---- looking ----
  std::string InformationText() const { return Document.InformationText(); }
  // The object at map (x, y): false when there is none.
  bool Inspect(int32_t x, int32_t y, std::string& caption, std::string& text);

 private:
  void NewSetShowing() override { FrontEnd.NewSetShowing(); }
  void InvalidateWholeView() override;
  void RepaintMapRect(const MapRect& rect) override;
  void ShowDebugText(const std::string& text) override { FrontEnd.ShowDebugText(text); }
  // The change since the last call, handed out once.
  SessionChange TakeChange();
  void Follow(const CTavroDoc::DragResult& step);

  CTavroDoc& Document;
  Host& OldHost;
  ChangeNotices& OldNotices;
  ChangeNotices& FrontEnd;
  SessionChange Pending;
  std::function<void(const SessionChange&)> Follower;
};

}  // namespace tavro
