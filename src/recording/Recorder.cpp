#include "recording/Recorder.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <memory>
#include <utility>

#include "document/SetQueries.h"
#include "recording/FrameSequence.h"
#include "recording/FrameWriter.h"

namespace tavro {
namespace {

// A pass that leaves the map dirty asks for another at once; a set that kept doing so would
// otherwise hold the clock still for ever.
constexpr int kMaxPassesAtOneTick = 64;

class Recording {
 public:
  Recording(DocumentSession& session, RecordingHost& clock, const RecordingRequest& request,
            FrameWriter& writer)
      : Session_(session),
        Doc_(session.Doc()),
        Clock_(clock),
        Request_(request),
        Writer_(writer),
        Start_(clock.CurrentTick()) {}
  Recording(const Recording&) = delete;
  Recording& operator=(const Recording&) = delete;

  RecordingResult Run() {
    Session_.Flush();  // what came before the recording is its first picture
    if (!Frames_.Start(Doc_)) return Failed("there is no composed picture to record");
    TakeChanges();
    const Picture& shown = Frames_.Shown();
    if (!Writer_.Begin(Request_.Path, shown.Width, shown.Height, Request_.Zoom, Result_.Error))
      return Result_;
    Play();
    if (!Result_.Error.empty() || !Frames_.Finish(Request_.LengthMs, Result_.Error)) return Result_;
    const uint32_t end = Frames_.EndMs();
    Result_.Written = true;
    Result_.Frames = Frames_.Frames();
    Result_.RecordedMs = end;
    if (end < Request_.LengthMs) {
      Result_.Notes.push_back("the recording stopped at " + std::to_string(kMaxRecordingFrames) +
                              " frames, after " + std::to_string(end) + " ms of the " +
                              std::to_string(Request_.LengthMs) + " ms asked for");
    }
    return Result_;
  }

 private:
  RecordingResult Failed(const std::string& why) {
    Result_.Error = why;
    return Result_;
  }

  // Runs the set to the end or to the frame limit; returns the time it stopped at.
  uint32_t Play() {
    constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();
    uint32_t now = 0;
    size_t input = 0;
    int passesAtThisTick = 0;
    while (Result_.Error.empty()) {
      const int32_t delay = Session_.NextTimerPassDelay(Start_ + now);
      uint64_t pass = delay == CTavroDoc::kNoTimerPass ? kNever : uint64_t{now} + delay;
      const uint64_t next = input < Request_.Inputs.size() ? Request_.Inputs[input].AtMs : kNever;
      if (pass == now && ++passesAtThisTick > kMaxPassesAtOneTick) pass = now + 1;
      const uint64_t at = std::min(pass, next);
      if (at >= Request_.LengthMs) break;
      if (at > now) passesAtThisTick = 0;
      now = static_cast<uint32_t>(at);
      Clock_.SetTick(Start_ + now);
      if (pass <= now) Note(Session_.RunTimerPass(Start_ + now));
      while (input < Request_.Inputs.size() && Request_.Inputs[input].AtMs <= now)
        Apply(Request_.Inputs[input++]);
      if (!Observe(now)) return now;
    }
    return Request_.LengthMs;
  }

  void Apply(const RecordingInput& input) {
    switch (input.What) {
      case RecordingInput::Kind::Press:
        Press(input);
        break;
      case RecordingInput::Kind::Drop:
        Note(Session_.Release());
        break;
      case RecordingInput::Kind::Key:
        Note(Session_.Key(std::toupper(static_cast<unsigned char>(input.Value))));
        break;
    }
  }

  // A press while an object is still held means its release went unseen: the session drops it
  // first, also when this press finds nothing.
  void Press(const RecordingInput& input) {
    int32_t x = 0, y = 0;
    if (!FindPixelOf(input.Value, x, y)) {
      Note(Session_.Release());
      Result_.Notes.push_back("at " + std::to_string(input.AtMs) + " ms no pixel of object " +
                              std::to_string(input.Value) + " shows; nothing was pressed");
      return;
    }
    Note(Session_.Press(x, y));
  }

  // What each step changed is summed up here until the next frame takes it.
  void Note(const SessionChange& change) {
    Changed_ = UnionRect(Changed_, change.Repaint);
    ChangedWhole_ = ChangedWhole_ || change.WholeView;
  }

  // The first point, row by row from the top left of the object's box, where a click picks
  // object `number` and no other.
  bool FindPixelOf(int32_t number, int32_t& x, int32_t& y) {
    const DollSet& set = Doc_.Set();
    const uint16_t slot = set.SlotOf(number);
    if (slot == 0 || slot >= set.ObjectTable().size()) return false;
    const ObjectEntry& object = set.ObjectTable()[slot];
    const MapRect box =
        IntersectRect({object.X + object.ExtentLeft, object.Y + object.ExtentTop,
                       object.X + object.ExtentRight, object.Y + object.ExtentBottom},
                      {0, 0, set.PlayfieldWidth(), set.PlayfieldHeight()});
    for (y = box.Top; y < box.Bottom; ++y) {
      for (x = box.Left; x < box.Right; ++x) {
        if (Session_.ObjectAt(x, y) == number) return true;
      }
    }
    return false;
  }

  // Takes in what the last step changed; false when the frame limit ends the recording.
  bool Observe(uint32_t now) {
    const bool whole = ChangedWhole_;
    MapRect area = TakeChanges();
    if (whole) area = Frames_.Shown().Whole();
    return Frames_.Observe(Doc_, area, now, Result_.Error);
  }

  MapRect TakeChanges() {
    ChangedWhole_ = false;
    return std::exchange(Changed_, {});
  }

  DocumentSession& Session_;
  const CTavroDoc& Doc_;
  RecordingHost& Clock_;
  const RecordingRequest& Request_;
  FrameWriter& Writer_;
  const uint32_t Start_;
  FrameSequence Frames_{Writer_};
  RecordingResult Result_;
  MapRect Changed_;
  bool ChangedWhole_ = false;
};

}  // namespace

RecordingResult RecordAnimation(DocumentSession& session, RecordingHost& clock,
                                const RecordingRequest& request) {
  const CTavroDoc& doc = session.Doc();
  RecordingResult result;
  const std::unique_ptr<FrameWriter> writer = MakeFrameWriter(AnimationFormatOf(request.Path));
  if (writer == nullptr) {
    result.Error =
        "an animation is written to a .gif or a .webp file, not \"" + request.Path + "\"";
  } else if (!doc.IsSetLoaded()) {
    result.Error = "no set is shown";
  } else if (request.LengthMs == 0 || request.LengthMs > kMaxRecordingMs) {
    result.Error = "a recording lasts from 1 ms to 10 minutes";
  } else if (request.Zoom < 1 || request.Zoom > kMaxRecordingZoom) {
    result.Error = "a recording is zoomed from 1 to 31 times";
  } else {
    result = Recording(session, clock, request, *writer).Run();
  }
  return result;
}

RecordingResult RecordFromPresent(DocumentSession& session, const RecordingRequest& request) {
  Host& outside = session.Outside();
  ChangeNotices nobody;
  RecordingHost clock(outside, nobody, RecordingHost::Messages::Drop);
  const uint32_t started = outside.TickCount();
  clock.SetTick(started);
  clock.SetClockSeconds(outside.ClockSeconds());
  RecordingResult result;
  session.LendOutside(clock, clock, [&] { result = RecordAnimation(session, clock, request); });
  const uint32_t reached = result.Written ? started + result.RecordedMs : clock.CurrentTick();
  session.DelayAlarms(outside.TickCount() - reached);
  return result;
}

}  // namespace tavro
