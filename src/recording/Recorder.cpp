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
      : Session(session),
        Doc(session.Doc()),
        Clock(clock),
        Request(request),
        Writer(writer),
        Start(clock.CurrentTick()) {}
  Recording(const Recording&) = delete;
  Recording& operator=(const Recording&) = delete;

  RecordingResult Run() {
    Session.Flush();  // what came before the recording is its first picture
    if (!Frames.Start(Doc)) return Failed("there is no composed picture to record");
    TakeChanges();
    const Picture& shown = Frames.Shown();
    if (!Writer.Begin(Request.Path, shown.Width, shown.Height, Request.Zoom, Result.Error))
      return Result;
    Play();
    if (!Result.Error.empty() || !Frames.Finish(Request.LengthMs, Result.Error)) return Result;
    const uint32_t end = Frames.EndMs();
    Result.Written = true;
    Result.Frames = Frames.Frames();
    Result.RecordedMs = end;
    if (end < Request.LengthMs) {
      Result.Notes.push_back("the recording stopped at " + std::to_string(kMaxRecordingFrames) +
                             " frames, after " + std::to_string(end) + " ms of the " +
                             std::to_string(Request.LengthMs) + " ms asked for");
    }
    return Result;
  }

 private:
  RecordingResult Failed(const std::string& why) {
    Result.Error = why;
    return Result;
  }

  // Runs the set to the end or to the frame limit; returns the time it stopped at.
  uint32_t Play() {
    constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();
    uint32_t now = 0;
    size_t input = 0;
    int passesAtThisTick = 0;
    while (Result.Error.empty()) {
      const int32_t delay = Session.NextTimerPassDelay(Start + now);
      uint64_t pass = delay == CTavroDoc::kNoTimerPass ? kNever : uint64_t{now} + delay;
      const uint64_t next = input < Request.Inputs.size() ? Request.Inputs[input].AtMs : kNever;
      if (pass == now && ++passesAtThisTick > kMaxPassesAtOneTick) pass = now + 1;
      const uint64_t at = std::min(pass, next);
      if (at >= Request.LengthMs) break;
      if (at > now) passesAtThisTick = 0;
      now = static_cast<uint32_t>(at);
      Clock.SetTick(Start + now);
      if (pass <= now) Note(Session.RunTimerPass(Start + now));
      while (input < Request.Inputs.size() && Request.Inputs[input].AtMs <= now)
        Apply(Request.Inputs[input++]);
      if (!Observe(now)) return now;
    }
    return Request.LengthMs;
  }

  void Apply(const RecordingInput& input) {
    switch (input.What) {
      case RecordingInput::Kind::Press:
        Press(input);
        break;
      case RecordingInput::Kind::Drop:
        Note(Session.Release());
        break;
      case RecordingInput::Kind::Key:
        Note(Session.Key(std::toupper(static_cast<unsigned char>(input.Value))));
        break;
    }
  }

  // A press while an object is still held means its release went unseen: the session drops it
  // first, also when this press finds nothing.
  void Press(const RecordingInput& input) {
    int32_t x = 0, y = 0;
    if (!FindPixelOf(input.Value, x, y)) {
      Note(Session.Release());
      Result.Notes.push_back("at " + std::to_string(input.AtMs) + " ms no pixel of object " +
                             std::to_string(input.Value) + " shows; nothing was pressed");
      return;
    }
    Note(Session.Press(x, y));
  }

  // What each step changed is summed up here until the next frame takes it.
  void Note(const SessionChange& change) {
    Changed = UnionRect(Changed, change.Repaint);
    ChangedWhole = ChangedWhole || change.WholeView;
  }

  // The first point, row by row from the top left of the object's box, where a click picks
  // object `number` and no other.
  bool FindPixelOf(int32_t number, int32_t& x, int32_t& y) {
    const DollSet& set = Doc.Set();
    const uint16_t slot = set.SlotOf(number);
    if (slot == 0 || slot >= set.ObjectTable().size()) return false;
    const ObjectEntry& object = set.ObjectTable()[slot];
    const MapRect box =
        IntersectRect({object.X + object.ExtentLeft, object.Y + object.ExtentTop,
                       object.X + object.ExtentRight, object.Y + object.ExtentBottom},
                      {0, 0, set.PlayfieldWidth(), set.PlayfieldHeight()});
    for (y = box.top; y < box.bottom; ++y) {
      for (x = box.left; x < box.right; ++x) {
        if (Session.ObjectAt(x, y) == number) return true;
      }
    }
    return false;
  }

  // Takes in what the last step changed; false when the frame limit ends the recording.
  bool Observe(uint32_t now) {
    const bool whole = ChangedWhole;
    MapRect area = TakeChanges();
    if (whole) area = Frames.Shown().Whole();
    return Frames.Observe(Doc, area, now, Result.Error);
  }

  MapRect TakeChanges() {
    ChangedWhole = false;
    return std::exchange(Changed, {});
  }

  DocumentSession& Session;
  const CTavroDoc& Doc;
  RecordingHost& Clock;
  const RecordingRequest& Request;
  FrameWriter& Writer;
  const uint32_t Start;
  FrameSequence Frames{Writer};
  RecordingResult Result;
  MapRect Changed;
  bool ChangedWhole = false;
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
