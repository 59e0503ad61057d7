#include "document/DocumentSession.h"

#include <algorithm>
#include <utility>

#include "document/SetQueries.h"
#include "scripts/ScriptLimits.h"

namespace tavro {
namespace {

constexpr int32_t kVkLeft = 0x25;
constexpr int32_t kVkUp = 0x26;
constexpr int32_t kVkRight = 0x27;
constexpr int32_t kVkDown = 0x28;
constexpr int32_t kVkNumpad0 = 0x60;

// The set a digit key chooses: the main row's and the keypad's alike; -1 for any other key.
int32_t SetOfKey(int32_t virtualKey) {
  if (virtualKey >= '0' && virtualKey <= '9') return virtualKey - '0';
  if (virtualKey >= kVkNumpad0 && virtualKey <= kVkNumpad0 + 9) return virtualKey - kVkNumpad0;
  return -1;
}

ScrollRequest ScrollOfKey(int32_t virtualKey) {
  switch (virtualKey) {
    case kVkLeft:
      return ScrollRequest::Left;
    case kVkUp:
      return ScrollRequest::Up;
    case kVkRight:
      return ScrollRequest::Right;
    case kVkDown:
      return ScrollRequest::Down;
    default:
      return ScrollRequest::None;
  }
}

}  // namespace

DocumentSession::DocumentSession(Host& host, ChangeNotices& frontEnd)
    : host_(&host), frontEnd_(&frontEnd), document_(host, *this) {
  lastStates_ = CurrentStatesKey();
}

DocumentSession::~DocumentSession() = default;

void DocumentSession::RepaintMapRect(const MapRect& rect) {
  pending_.Repaint = UnionRect(pending_.Repaint, rect);
}

DocumentSession::StatesKey DocumentSession::CurrentStatesKey() const {
  const bool loaded = document_.IsSetLoaded();
  return {loaded,
          loaded ? document_.Set().CurrentSet() : -1,
          loaded ? document_.Set().CurrentGroup() : -1,
          loaded && document_.Map().TrueColourMode(),
          document_.CanSave(),
          opens_};
}

SessionChange DocumentSession::TakeChange() {
  const StatesKey states = CurrentStatesKey();
  if (!(states == lastStates_)) pending_.CommandsChanged = true;
  lastStates_ = states;
  return std::exchange(pending_, {});
}

// ---- the rules ----

bool DocumentSession::IsSetAvailable(int32_t n) const {
  return document_.IsSetLoaded() && n >= 0 && n < kSetCount && document_.Set().IsSetInUse(n);
}

bool DocumentSession::IsGroupAvailable(int32_t n) const {
  return document_.IsSetLoaded() && n >= 0 && n < kGroupCount &&
         document_.Set().Palettes().GroupCount >= n + 1;
}

CommandStates DocumentSession::States() const {
  CommandStates states;
  states.Loaded = document_.IsSetLoaded();
  states.CanSave = document_.CanSave();
  for (int32_t n = 0; n < kSetCount; ++n) {
    states.SetEnabled[n] = IsSetAvailable(n);
    states.SetChecked[n] = document_.Set().CurrentSet() == n;
  }
  for (int32_t n = 0; n < kGroupCount; ++n) {
    states.GroupEnabled[n] = IsGroupAvailable(n);
    states.GroupChecked[n] = states.Loaded && document_.Set().CurrentGroup() == n;
  }
  states.Colour256Checked = states.Loaded && !document_.Map().TrueColourMode();
  states.TrueColourChecked = states.Loaded && document_.Map().TrueColourMode();
  return states;
}

// ---- files ----

// The old set is gone whatever the open found: the view starts over, empty until StartSet.
OpenResult DocumentSession::Open(const std::string& path, const OpenChoice& choice,
                                 OpenProgress& progress) {
  // An object held over an open belonged to the old set: it is forgotten, without its events.
  const bool wasHolding = HoldsObject();
  document_.Pointer().Hold(0);
  dropWhenDone_ = false;
  OpenResult result = document_.OnOpenDocument(path, choice, progress);
  ++opens_;
  pending_ = {};
  pending_.WholeView = true;
  pending_.NewSet = true;
  pending_.Released = wasHolding;
  return result;
}

SessionChange DocumentSession::StartSet() {
  if (document_.StartLoadedSet()) pending_.WholeView = true;
  return TakeChange();
}

SessionChange DocumentSession::NewDocument() {
  document_.OnNewDocument();
  ++opens_;
  pending_ = {};
  pending_.WholeView = true;
  pending_.NewSet = true;
  return TakeChange();
}

bool DocumentSession::MustConfirmOverwrite(const std::string& path) const {
  return document_.MustConfirmOverwrite(path);
}

SaveResult DocumentSession::Save(const std::string& path, bool overwriteConfirmed) {
  SaveResult result = document_.OnSaveDocument(path, overwriteConfirmed);
  // Saving applies every set in turn and comes back to the one shown: nothing shows changed.
  pending_ = {};
  lastStates_ = CurrentStatesKey();
  return result;
}

// ---- sets, colours ----

SessionChange DocumentSession::SelectSet(int32_t n) {
  if (IsSetAvailable(n)) {
    // Choosing the set already shown changes nothing but still refreshes the buttons.
    pending_.CommandsChanged = true;
    pending_.SetSwitched = document_.SelectSet(n) == CTavroDoc::SetChoice::Switched;
  }
  return TakeChange();
}

SessionChange DocumentSession::SelectGroup(int32_t n) {
  if (IsGroupAvailable(n)) document_.SelectGroup(n);
  return TakeChange();
}

SessionChange DocumentSession::TestAllSets() {
  SessionChange all;
  for (int32_t n = 0; n < kSetCount; ++n) {
    const SessionChange one = SelectSet(n);
    all.Repaint = UnionRect(all.Repaint, one.Repaint);
    all.SetSwitched = all.SetSwitched || one.SetSwitched;
    all.CommandsChanged = all.CommandsChanged || one.CommandsChanged;
  }
  return all;
}

SessionChange DocumentSession::ColourMode256() {
  document_.SetColourMode256();
  return TakeChange();
}

SessionChange DocumentSession::ColourModeTrue() {
  document_.SetColourModeTrue();
  return TakeChange();
}

SessionChange DocumentSession::Transparent50() {
  document_.ApplyTransparent50();
  return TakeChange();
}

SessionChange DocumentSession::AdjustObjects() {
  document_.AdjustObjects();
  return TakeChange();
}

SessionChange DocumentSession::PlaceObject(int32_t number, int32_t x, int32_t y) {
  document_.PlaceShownObject(number, x, y);
  return TakeChange();
}

// ---- the pointer ----

void DocumentSession::Follow(const CTavroDoc::DragResult& step) {
  if (step.Redraw) RepaintMapRect(*step.Redraw);
  if (!step.Moved) return;
  pending_.HeldMoved = true;
  pending_.StepX = step.StepX;
  pending_.StepY = step.StepY;
  pending_.ObjectBox = step.ObjectBox;
}

// The drop's events may open a "debug(" box, inside which the pointer can be lost again.
void DocumentSession::Drop() {
  if (!HoldsObject()) return;
  ++pointerCalls_;
  Follow(document_.DropHeldObject());
  document_.FlushAndRepaint();
  --pointerCalls_;
  pending_.Released = true;
}

SessionChange DocumentSession::Press(int32_t x, int32_t y) {
  Drop();
  ++pointerCalls_;
  document_.Pointer().MoveWithin(x, y);
  document_.PressAtPointer();
  document_.FlushAndRepaint();
  --pointerCalls_;
  // A press action's "debug(" box can take the pointer before the object is even held.
  if (pointerCalls_ == 0 && std::exchange(dropWhenDone_, false)) Drop();
  return TakeChange();
}

SessionChange DocumentSession::Move(int32_t x, int32_t y) {
  document_.Pointer().MoveWithin(x, y);
  if (!HoldsObject()) return TakeChange();
  const CTavroDoc::DragResult step = document_.DragStep(CTavroDoc::DragPhase::Move);
  Follow(step);
  // A fixed object pulled further than it gives springs back at once; the spring-back is the
  // drag's last step, so it, not the pull, is what a view follows.
  if (step.LimitReached) {
    pending_.HeldMoved = false;
    Drop();
  }
  return TakeChange();
}

SessionChange DocumentSession::Release() {
  Drop();
  if (pointerCalls_ == 0) dropWhenDone_ = false;
  return TakeChange();
}

SessionChange DocumentSession::PointerLost() {
  if (pointerCalls_ > 0) {
    dropWhenDone_ = true;
    return TakeChange();
  }
  return Release();
}

SessionChange DocumentSession::Key(int32_t virtualKey) {
  document_.Pointer().FeedFixOverrideKey(virtualKey);
  const int32_t set = SetOfKey(virtualKey);
  if (set >= 0) return SelectSet(set);
  SessionChange change = TakeChange();
  change.Scroll = ScrollOfKey(virtualKey);
  return change;
}

int32_t DocumentSession::ObjectAt(int32_t x, int32_t y) {
  return HitTest(document_.Set(), document_.Pointer(), x, y);
}

SessionChange DocumentSession::Flush() {
  document_.FlushAndRepaint();
  return TakeChange();
}

// ---- time, looking ----

SessionChange DocumentSession::RunTimerPass(uint32_t now) {
  document_.RunTimerPass(now);
  return TakeChange();
}

int32_t DocumentSession::NextTimerPassDelay(uint32_t now) const {
  constexpr int32_t kBlockedPassDelayMs = 10;
  const int32_t delay = document_.NextTimerPassDelay(now);
  if (delay == CTavroDoc::kNoTimerPass) return delay;
  if (document_.Scripts().DispatchDepth() >= kMaxTimerPassDepth)
    return std::max(delay, kBlockedPassDelayMs);
  return delay;
}

void DocumentSession::DelayAlarms(uint32_t ticks) { document_.Scripts().DelayAlarms(ticks); }

void DocumentSession::SetArchiveLimits(const ExtractLimits& limits) {
  document_.SetArchiveLimits(limits);
}

void DocumentSession::SeedScriptRandom(uint32_t seed) {
  document_.Scripts().SeedScriptRandom(seed);
}

void DocumentSession::LendOutside(Host& host, ChangeNotices& notices,
                                  const std::function<void()>& play) {
  Host* const ownHost = std::exchange(host_, &host);
  ChangeNotices* const ownNotices = std::exchange(frontEnd_, &notices);
  document_.UseOutside(host, *this);
  play();
  document_.UseOutside(*ownHost, *this);
  host_ = ownHost;
  frontEnd_ = ownNotices;
}

bool DocumentSession::Inspect(int32_t x, int32_t y, std::string& caption, std::string& text) {
  document_.Pointer().MoveWithin(x, y);
  return document_.InspectAtPointer(caption, text);
}

}  // namespace tavro
