// The session that front ends drive: everything a person can do to the one document, each rule
// stated once. The window, the page, tavro-render and the recorder all go through it, and none of
// them reaches the document any other way: the session owns it and hands it out read-only.
//
// Each call returns what it changed (the map area to repaint, a new set, the held object's step,
// whether the commands' states may differ); a front end repaints from that alone. The only news
// that reaches a front end in the middle of a call is a script's "debug(" text, which the script
// waits on (ChangeNotices::ShowDebugText). Coordinates are map pixels; how large the map is shown
// and where it is scrolled are the front end's.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "document/CTavroDoc.h"
#include "platform/Host.h"
#include "platform/MapRect.h"

namespace tavro {

// The zoom factors a view may show the map at, the same in every front end: Zoom In and Zoom
// Out step within kMinZoom to kMaxZoom; a factor typed in (the Zoom dialog) or a recording's may
// go up to kMaxChosenZoom.
inline constexpr int32_t kMinZoom = 1;
inline constexpr int32_t kMaxZoom = 16;
inline constexpr int32_t kMaxChosenZoom = 31;

// An arrow key asks the view to scroll by a tenth of the picture in its direction.
enum class ScrollRequest { None, Left, Up, Right, Down };

// What one call changed.
struct SessionChange {
  MapRect Repaint;         // the map area to repaint now (map coordinates); empty for none
  bool WholeView = false;  // the whole view changes: redraw all of it, scrolled to the origin
  // A newly loaded set (or none) began to show: what the view kept about how it showed the old
  // one (its zoom, its size) starts over.
  bool NewSet = false;
  bool SetSwitched = false;
  // The states of the commands (States()) may differ: rebuild them.
  bool CommandsChanged = false;
  // A held object moved by (StepX, StepY) and now covers ObjectBox (its position to its right
  // and bottom extent), so a view can follow it past its visible edge. When a call moves it
  // twice (pulled to a fixed object's limit, then sprung back), the last step counts.
  bool HeldMoved = false;
  int32_t StepX = 0;
  int32_t StepY = 0;
  MapRect ObjectBox;
  // The held object was let go in this call (a release, the fix limit, the pointer lost, a new
  // press): whatever the front end keeps of the drag (a pointer capture) ends.
  bool Released = false;
  ScrollRequest Scroll = ScrollRequest::None;
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
  // `host` and `frontEnd` must outlive the session. The front end hears only ShowDebugText.
  DocumentSession(Host& host, ChangeNotices& frontEnd);
  ~DocumentSession() override;
  DocumentSession(const DocumentSession&) = delete;
  DocumentSession& operator=(const DocumentSession&) = delete;

  const CTavroDoc& Doc() const { return document_; }
  // The document itself, for tests, benchmarks and fuzzers that build or inspect sets by hand.
  // No front end calls it (a build check holds src/ to that).
  CTavroDoc& FixtureDoc() { return document_; }

  // ---- the rules ----
  bool IsSetAvailable(int32_t n) const;    // a loaded set uses set n
  bool IsGroupAvailable(int32_t n) const;  // a loaded set's palettes have colour group n
  CommandStates States() const;

  // ---- files ----
  // Opens in two steps. Open reads the file (an archive through its temporary directory) and
  // its cels and palettes, and returns the load's messages in the order they are shown. Then the
  // front end shows them, and only then calls StartSet, which runs "initialize(", applies set 0,
  // runs "begin(" and shows the set. Until then the document is loading: nothing is drawn, no
  // timer pass does anything, and alarms armed by "initialize(" count from StartSet.
  OpenResult Open(const std::string& path, const OpenChoice& choice = {},
                  OpenProgress& progress = NoOpenProgress());
  // Nothing when the last open left no set waiting.
  SessionChange StartSet();
  bool AwaitsStart() const { return document_.AwaitsStart(); }
  SessionChange NewDocument();
  bool CanSave() const { return document_.CanSave(); }
  bool MustConfirmOverwrite(const std::string& path) const;
  SaveResult Save(const std::string& path, bool overwriteConfirmed);

  // ---- sets, colours ----
  // Nothing happens for a set or group that is not available.
  SessionChange SelectSet(int32_t n);
  SessionChange SelectGroup(int32_t n);
  // Every set in use in turn, 0 to 9, each shown as it comes.
  SessionChange TestAllSets();
  SessionChange ColourMode256();
  SessionChange ColourModeTrue();
  SessionChange Transparent50();
  SessionChange AdjustObjects();
  // Object `number` of the shown set stands at (x, y) as a scene link gives it: no pick, no
  // drop, no event. Nothing for an object not shown, or while one is held.
  SessionChange PlaceObject(int32_t number, int32_t x, int32_t y);

  // ---- the pointer, in map coordinates (held to where the pointer may go) ----
  // The drag's whole life is here; a front end only turns its events into these calls.
  // A press while an object is still held means its release went unseen: that one drops first.
  SessionChange Press(int32_t x, int32_t y);
  // A fixed object pulled further than it gives is let go at once (Released).
  SessionChange Move(int32_t x, int32_t y);
  // The held object is dropped where the last move left it; nothing when none is held.
  SessionChange Release();
  // The front end lost the pointer (its window stopped being active, the button went up where
  // it could not see): the held object is dropped, or, when this comes from inside a press or a
  // drop whose scripts are still running (a "debug(" box), as soon as that call ends.
  SessionChange PointerLost();
  bool HoldsObject() const { return document_.Pointer().HeldSlot() != 0; }
  // A key press by its virtual-key code (a letter key is its capital letter; main-row digits
  // 0x30 to 0x39, keypad digits 0x60 to 0x69, the arrows 0x25 to 0x28). Every key the view
  // receives counts, modifier keys included: any key but the next letter of the sequence that
  // lifts fixing starts that sequence again. A digit chooses its set (also with Ctrl held, which
  // changes no code); an arrow asks the view to scroll. Keys that are accelerators never come here.
  SessionChange Key(int32_t virtualKey);

  // The object whose pixel shows at map (x, y), as a press there would find it; -1 for none.
  int32_t ObjectAt(int32_t x, int32_t y);
  // Recomposes and repaints what event actions left dirty.
  SessionChange Flush();

  // ---- time ----
  SessionChange RunTimerPass(uint32_t now);
  // Milliseconds until the next timer pass has something to do, kNoTimerPass for never. While
  // "debug(" boxes are nested so deep that passes may not fire alarms, due alarms stay due, and
  // the delay is a short poll rather than at once, so the open boxes do not spin the processor.
  int32_t NextTimerPassDelay(uint32_t now) const;
  // Every armed alarm falls due `ticks` later: play paused (a hidden page, a recording that ran
  // ahead of the clock) goes on where it stopped.
  void DelayAlarms(uint32_t ticks);
  // The scripts' random generator starts from `seed` (as if "initialize(" had read that clock).
  void SeedScriptRandom(uint32_t seed);
  // What later opens may unpack from an archive (the browser's tab holds its files in memory).
  void SetArchiveLimits(const ExtractLimits& limits);
  // Plays the document on another outside for the length of `play` (a recording's virtual
  // clock, which takes its sounds and "debug(" texts too), then gives it back its own. The
  // session's calls inside `play` return their changes as ever.
  void LendOutside(Host& host, ChangeNotices& notices, const std::function<void()>& play);
  Host& Outside() { return *host_; }

  // ---- looking ----
  std::string InformationText() const { return document_.InformationText(); }
  // The object at map (x, y): false when there is none.
  bool Inspect(int32_t x, int32_t y, std::string& caption, std::string& text);

 private:
  void NewSetShowing() override { pending_.NewSet = true; }
  void InvalidateWholeView() override { pending_.WholeView = true; }
  void RepaintMapRect(const MapRect& rect) override;
  void ShowDebugText(const std::string& text) override { frontEnd_->ShowDebugText(text); }
  // The change since the last call, handed out once.
  SessionChange TakeChange();
  void Follow(const CTavroDoc::DragResult& step);
  void Drop();
  // What the command states depend on, to tell when they may have changed.
  struct StatesKey {
    bool Loaded = false;
    int32_t Set = -1;
    int32_t Group = -1;
    bool TrueColour = false;
    bool CanSave = false;
    uint32_t Opens = 0;
    bool operator==(const StatesKey&) const = default;
  };
  StatesKey CurrentStatesKey() const;

  Host* host_;
  ChangeNotices* frontEnd_;
  CTavroDoc document_;
  SessionChange pending_;
  StatesKey lastStates_;
  uint32_t opens_ = 0;         // counts opens and new documents: the sets in use may differ
  int32_t pointerCalls_ = 0;   // presses and drops running now (nested through a script's box)
  bool dropWhenDone_ = false;  // the pointer was lost inside one of them
};

}  // namespace tavro
