#include "document/DocumentSession.h"

#include <utility>

#include "document/SetQueries.h"

namespace tavro {

DocumentSession::DocumentSession(CTavroDoc& doc, Host& host, ChangeNotices& frontEnd)
    : Document(doc), OldHost(doc.host()), OldNotices(doc.notices()), FrontEnd(frontEnd) {
  Document.UseOutside(host, *this);
}

DocumentSession::~DocumentSession() { Document.UseOutside(OldHost, OldNotices); }

void DocumentSession::InvalidateWholeView() {
  Pending.WholeView = true;
  FrontEnd.InvalidateWholeView();
}

void DocumentSession::RepaintMapRect(const MapRect& rect) {
  Pending.Repaint = UnionRect(Pending.Repaint, rect);
  FrontEnd.RepaintMapRect(rect);
}

SessionChange DocumentSession::TakeChange() {
  SessionChange change = std::exchange(Pending, {});
  if (Follower) Follower(change);
  return change;
}

// ---- the rules ----

bool DocumentSession::IsSetAvailable(int32_t n) const {
  return Document.IsSetLoaded() && n >= 0 && n < kSetCount && Document.Set().IsSetInUse(n);
}

bool DocumentSession::IsGroupAvailable(int32_t n) const {
  return Document.IsSetLoaded() && n >= 0 && n < kGroupCount &&
         Document.Set().Palettes().GroupCount >= n + 1;
}

CommandStates DocumentSession::States() const {
  CommandStates states;
  states.Loaded = Document.IsSetLoaded();
  states.CanSave = Document.CanSave();
  for (int32_t n = 0; n < kSetCount; ++n) {
    states.SetEnabled[n] = IsSetAvailable(n);
    states.SetChecked[n] = Document.Set().CurrentSet() == n;
  }
  for (int32_t n = 0; n < kGroupCount; ++n) {
    states.GroupEnabled[n] = IsGroupAvailable(n);
    states.GroupChecked[n] = states.Loaded && Document.Set().CurrentGroup() == n;
  }
  states.Colour256Checked = states.Loaded && !Document.Map().TrueColourMode();
  states.TrueColourChecked = states.Loaded && Document.Map().TrueColourMode();
  return states;
}

// ---- files ----

OpenResult DocumentSession::Open(const std::string& path, const OpenChoice& choice,
                                 OpenProgress& progress) {
  OpenResult result = Document.OnOpenDocument(path, choice, progress);
  Pending = {};
  return result;
}

SessionChange DocumentSession::NewDocument() {
  Document.OnNewDocument();
  Pending.WholeView = true;
  return TakeChange();
}

bool DocumentSession::MustConfirmOverwrite(const std::string& path) const {
  return Document.MustConfirmOverwrite(path);
}

SaveResult DocumentSession::Save(const std::string& path, bool overwriteConfirmed) {
  SaveResult result = Document.OnSaveDocument(path, overwriteConfirmed);
  Pending = {};
  return result;
}

// ---- sets, colours ----

SessionChange DocumentSession::SelectSet(int32_t n) {
  if (IsSetAvailable(n)) {
    Pending.SetSwitched = Document.SelectSet(n) == CTavroDoc::SetChoice::Switched;
  }
  return TakeChange();
}

SessionChange DocumentSession::SelectGroup(int32_t n) {
  if (IsGroupAvailable(n)) Document.SelectGroup(n);
  return TakeChange();
}

SessionChange DocumentSession::ColourMode256() {
  Document.SetColourMode256();
  return TakeChange();
}

SessionChange DocumentSession::ColourModeTrue() {
  Document.SetColourModeTrue();
  return TakeChange();
}

SessionChange DocumentSession::Transparent50() {
  Document.ApplyTransparent50();
  return TakeChange();
}

SessionChange DocumentSession::AdjustObjects() {
  Document.AdjustObjects();
  return TakeChange();
}

// ---- the pointer ----

void DocumentSession::Follow(const CTavroDoc::DragResult& step) {
  if (step.redraw) RepaintMapRect(*step.redraw);
  Pending.LimitReached = Pending.LimitReached || step.limitReached;
  if (!step.moved) return;
  Pending.HeldMoved = true;
  Pending.StepX = step.stepX;
  Pending.StepY = step.stepY;
  Pending.ObjectBox = step.objectBox;
}

SessionChange DocumentSession::Press(int32_t x, int32_t y) {
  Document.Pointer().MoveWithin(x, y);
  Document.PressAtPointer();
  Document.FlushAndRepaint();
  return TakeChange();
}

SessionChange DocumentSession::Move(int32_t x, int32_t y) {
  Document.Pointer().MoveWithin(x, y);
  if (HoldsObject()) Follow(Document.DragStep(CTavroDoc::DragPhase::Move));
  return TakeChange();
}

SessionChange DocumentSession::Release() {
  if (HoldsObject()) {
    Follow(Document.DropHeldObject());
    Document.FlushAndRepaint();
  }
  return TakeChange();
}

SessionChange DocumentSession::Key(int32_t virtualKey) {
  constexpr int32_t kNumpad0 = 0x60;
  Document.Pointer().FeedFixOverrideKey(virtualKey);
  if (virtualKey >= '0' && virtualKey <= '9') return SelectSet(virtualKey - '0');
  if (virtualKey >= kNumpad0 && virtualKey <= kNumpad0 + 9) return SelectSet(virtualKey - kNumpad0);
  return TakeChange();
}

int32_t DocumentSession::ObjectAt(int32_t x, int32_t y) {
  return HitTest(Document.Set(), Document.Pointer(), x, y);
}

SessionChange DocumentSession::Flush() {
  Document.FlushAndRepaint();
  return TakeChange();
}

// ---- time, looking ----

SessionChange DocumentSession::RunTimerPass(uint32_t now) {
  Document.RunTimerPass(now);
  return TakeChange();
}

bool DocumentSession::Inspect(int32_t x, int32_t y, std::string& caption, std::string& text) {
  Document.Pointer().MoveWithin(x, y);
  return Document.InspectAtPointer(caption, text);
}

}  // namespace tavro
