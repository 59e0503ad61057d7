// What the page may call. Names and texts cross as bytes (Uint8Array), never decoded on the way:
// a set's Shift_JIS names must reach the core's lookup exactly as written, and the page decides
// how to show them.
#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <sys/stat.h>

#include <algorithm>
#include <clocale>
#include <memory>
#include <string>
#include <vector>

#include "document/DocumentSession.h"
#include "recording/Recorder.h"
#include "set/LoadProblems.h"
#include "web/WebSession.h"

using emscripten::val;

// How far a long open has come, for the page's progress dialog, and whether the person cancelled
// it: the page sets tavroProgress(phase, count, total) and tavroOpenCancelled() on the module.
EM_JS(void, PageOpenProgress, (const char* phase, int32_t count, int32_t total), {
  if (Module.tavroProgress) Module.tavroProgress(UTF8ToString(phase), count, total);
});
EM_JS(bool, PageOpenCancelled, (),
      { return Module.tavroOpenCancelled ? !!Module.tavroOpenCancelled() : false; });

namespace tavro {
namespace {

val Bytes(const std::string& text) {
  val array = val::global("Uint8Array").new_(text.size());
  array.call<void>("set", val(emscripten::typed_memory_view(
                              text.size(), reinterpret_cast<const uint8_t*>(text.data()))));
  return array;
}

val BytesList(const std::vector<std::string>& texts) {
  val list = val::array();
  for (const std::string& text : texts) list.call<void>("push", Bytes(text));
  return list;
}

const char* ScrollName(ScrollRequest scroll) {
  switch (scroll) {
    case ScrollRequest::Left:
      return "left";
    case ScrollRequest::Up:
      return "up";
    case ScrollRequest::Right:
      return "right";
    case ScrollRequest::Down:
      return "down";
    case ScrollRequest::None:
      break;
  }
  return "";
}

val Rect(const MapRect& rect) {
  val out = val::object();
  out.set("left", rect.Left);
  out.set("top", rect.Top);
  out.set("right", rect.Right);
  out.set("bottom", rect.Bottom);
  return out;
}

// Tells the page of a long open's steps; no more often than a progress bar can show them, but
// always the first of each phase, so that the dialog names the phase at once.
class PageProgress : public OpenProgress {
 public:
  void MembersUnpacked(uint32_t count) override { Tell("unpack", static_cast<int32_t>(count), 0); }
  void CelsLoaded(int32_t loaded, int32_t total) override { Tell("cels", loaded, total); }
  bool Cancelled() const override { return PageOpenCancelled(); }

 private:
  static constexpr double kIntervalMs = 30;
  void Tell(const char* phase, int32_t count, int32_t total) {
    const double now = emscripten_get_now();
    if (phase == Phase_ && now - Told_ < kIntervalMs) return;
    Phase_ = phase;
    Told_ = now;
    PageOpenProgress(phase, count, total);
  }
  const char* Phase_ = nullptr;
  double Told_ = 0;
};

class PageSession {
 public:
  // Names in archives are read as the desktop reads them, in a UTF-8 locale: libarchive turns a
  // ZIP name's backslashes into folder separators only where the name decodes in the locale,
  // and the C library's plain C locale here would decode Shift_JIS bytes too.
  // The C library starts with a umask of 0777, which would make every file the core creates
  // with the usual 0666 unreadable; 022 is what a desktop session hands a program.
  PageSession() {
    std::setlocale(LC_ALL, "C.UTF-8");
    ::umask(022);
  }

  // Reads the set and returns the load's messages; nothing is shown, and no script runs, until
  // the page has shown them and calls StartSet. The page calls it after its last open (a failed
  // one too, so that the picture starts over; after the second for a configuration chosen).
  val Open(const std::string& path, bool merge, const std::string& configName) {
    PageProgress progress;
    OpenResult result = Web_.Session().Open(path, {merge, configName}, progress);
    val out = val::object();
    out.set("opened", result.Opened);
    out.set("cancelled", result.Cancelled);
    out.set("messages", BytesList(result.Messages));
    out.set("choices", BytesList(result.ConfigChoices));
    return out;
  }
  val StartSet() { return Changed(Web_.Session().StartSet()); }
  // What an archive may unpack in all: the tab holds the files in its memory.
  void SetUnpackLimit(double bytes) {
    ExtractLimits limits;
    limits.MaxTotalBytes = static_cast<uint64_t>(std::max(bytes, 0.0));
    Web_.Session().SetArchiveLimits(limits);
  }
  // The folder the open archive was unpacked into, "" for none: the page names the files there
  // by the archive's name.
  val ExtractedFolder() const {
    const ArchiveSession& archive = Web_.Doc().Archive();
    return Bytes(archive.Extracted() ? archive.Directory() : std::string());
  }
  val NewDocument() { return Changed(Web_.Session().NewDocument()); }

  val States() const {
    const CommandStates states = Web_.Session().States();
    val out = val::object();
    out.set("loaded", states.Loaded);
    out.set("canSave", states.CanSave);
    val sets = val::array();
    val groups = val::array();
    for (int32_t n = 0; n < kSetCount; ++n) {
      val set = val::object();
      set.set("enabled", bool(states.SetEnabled[n]));
      set.set("checked", bool(states.SetChecked[n]));
      sets.call<void>("push", set);
    }
    for (int32_t n = 0; n < kGroupCount; ++n) {
      val group = val::object();
      group.set("enabled", bool(states.GroupEnabled[n]));
      group.set("checked", bool(states.GroupChecked[n]));
      groups.call<void>("push", group);
    }
    out.set("sets", sets);
    out.set("groups", groups);
    out.set("colour256", states.Colour256Checked);
    out.set("trueColour", states.TrueColourChecked);
    return out;
  }

  val SelectSet(int32_t n) { return Changed(Web_.Session().SelectSet(n)); }
  val SelectGroup(int32_t n) { return Changed(Web_.Session().SelectGroup(n)); }
  val ColourMode256() { return Changed(Web_.Session().ColourMode256()); }
  val ColourModeTrue() { return Changed(Web_.Session().ColourModeTrue()); }
  val Transparent50() { return Changed(Web_.Session().Transparent50()); }
  val AdjustObjects() { return Changed(Web_.Session().AdjustObjects()); }
  // Where each object of the shown set stands, as [number, x, y] in object-number order: what a
  // scene link compares with where the set first showed them.
  val ObjectPositions() const {
    val list = val::array();
    const DollSet& set = Web_.Doc().Set();
    if (!Web_.Doc().IsSetLoaded()) return list;
    set.ForEachObject([&](int32_t number, uint16_t slot) {
      if (slot >= set.ObjectTable().size()) return;
      const ObjectEntry& object = set.ObjectTable()[slot];
      if ((object.Flags & kInCurrentSet) == 0) return;
      // An object number with several slots' worth of names is listed once, by its slot's own.
      if (set.SlotToNumber(slot) != number) return;
      val entry = val::array();
      entry.call<void>("push", number);
      entry.call<void>("push", object.X);
      entry.call<void>("push", object.Y);
      list.call<void>("push", entry);
    });
    return list;
  }
  // A scene link's object put back where it stood; nothing for an object not shown.
  val PlaceObject(int32_t number, int32_t x, int32_t y) {
    return Changed(Web_.Session().PlaceObject(number, x, y));
  }
  val Press(int32_t x, int32_t y) { return Changed(Web_.Session().Press(x, y)); }
  val Move(int32_t x, int32_t y) { return Changed(Web_.Session().Move(x, y)); }
  val Release() { return Changed(Web_.Session().Release()); }
  val PointerLost() { return Changed(Web_.Session().PointerLost()); }
  bool HoldsObject() const { return Web_.Session().HoldsObject(); }
  val Key(int32_t virtualKey) { return Changed(Web_.Session().Key(virtualKey)); }
  // The core's clock, which the page's timer passes must use too.
  uint32_t TickCount() { return Web_.Outside().TickCount(); }
  val RunTimerPass(uint32_t now) { return Changed(Web_.Session().RunTimerPass(now)); }
  int32_t NextTimerPassDelay(uint32_t now) const { return Web_.Session().NextTimerPassDelay(now); }

  // The alarms wait `ticks` longer: a hidden page pauses play.
  void DelayAlarms(uint32_t ticks) { Web_.Session().DelayAlarms(ticks); }

  val Save(const std::string& path) {
    const SaveResult result = Web_.Session().Save(path, true);
    val out = val::object();
    out.set("saved", result.Saved);
    out.set("error", Bytes(result.Error));
    return out;
  }

  val InformationText() const { return Bytes(Web_.Session().InformationText()); }
  val Inspect(int32_t x, int32_t y) {
    std::string caption;
    std::string text;
    if (!Web_.Session().Inspect(x, y, caption, text)) return val::null();
    val out = val::object();
    out.set("caption", Bytes(caption));
    out.set("text", Bytes(text));
    return out;
  }
  // The load report's problems, each as its file, line, kind and detail.
  val LoadReport() const {
    val list = val::array();
    for (const LoadProblem& problem : Web_.Doc().LastLoad().Problems.All()) {
      val row = val::object();
      row.set("file", Bytes(problem.File));
      row.set("line", problem.Line);
      row.set("kind", std::string(ProblemKindName(problem.Kind)));
      row.set("detail", Bytes(problem.Detail));
      list.call<void>("push", row);
    }
    return list;
  }

  // Records from the present state on a virtual clock, as the window's File > Record does; the
  // set then plays on from where the recording left it, its alarms already put off.
  val Record(const std::string& path, uint32_t lengthMs, int32_t zoom) {
    const RecordingResult result =
        RecordFromPresent(Web_.Session(), {path, lengthMs, std::max(zoom, kMinZoom), {}});
    Web_.Note(Web_.Session().Flush());
    Web_.NoteWhole();
    val out = val::object();
    out.set("written", result.Written);
    out.set("frames", result.Frames);
    out.set("recordedMs", result.RecordedMs);
    out.set("error", Bytes(result.Error));
    out.set("notes", BytesList(result.Notes));
    return out;
  }

  // The picture's changed area since the last call ({} for none), and where its pixels lie in
  // pixels(): four bytes a pixel, rows `rowBytes` apart.
  val TakePicture() {
    const MapRect area = Web_.TakePicture();
    val out = val::object();
    out.set("width", Web_.Width());
    out.set("height", Web_.Height());
    out.set("area", Rect(area));
    out.set("rowBytes", static_cast<double>(Web_.RowBytes()));
    return out;
  }
  // A view of the area's pixels in the module's memory, from its top left pixel: valid until the
  // next call into the module.
  val Pixels() const {
    return val(emscripten::typed_memory_view(Web_.AreaBytes(), Web_.AreaPixels()));
  }
  // The whole picture fitted within size x size, as {width, height, pixels}: a copy, the
  // page keeps it past the next call.
  val Thumbnail(int32_t size) const {
    const PlayfieldThumbnail thumbnail = Web_.Thumbnail(size);
    val out = val::object();
    out.set("width", thumbnail.Width);
    out.set("height", thumbnail.Height);
    val pixels = val::global("Uint8Array").new_(thumbnail.Pixels.size());
    pixels.call<void>("set", val(emscripten::typed_memory_view(thumbnail.Pixels.size(),
                                                               thumbnail.Pixels.data())));
    out.set("pixels", pixels);
    return out;
  }
  // The open set's folder as a ZIP archive at `path`.
  val ExportSet(const std::string& path) const {
    const ZipExportResult result = Web_.ExportSet(path);
    val out = val::object();
    out.set("written", result.Written);
    out.set("error", Bytes(result.Error));
    return out;
  }
  val TakeSounds() { return BytesList(Web_.Outside().TakeSounds()); }
  val TakeDebugTexts() { return BytesList(Web_.Outside().TakeDebugTexts()); }

 private:
  val Changed(const SessionChange& change) {
    Web_.Note(change);
    val out = val::object();
    out.set("repaint", Rect(change.Repaint));
    out.set("wholeView", change.WholeView);
    out.set("newSet", change.NewSet);
    out.set("setSwitched", change.SetSwitched);
    out.set("commandsChanged", change.CommandsChanged);
    // The page's pointer capture ends with the drag.
    out.set("released", change.Released);
    out.set("scroll", std::string(ScrollName(change.Scroll)));
    // Where the held object went, so that the page's view can follow it past its visible edge.
    out.set("heldMoved", change.HeldMoved);
    out.set("stepX", change.StepX);
    out.set("stepY", change.StepY);
    out.set("objectBox", Rect(change.ObjectBox));
    return out;
  }

  WebSession Web_;
};

}  // namespace
}  // namespace tavro

EMSCRIPTEN_BINDINGS(tavro) {
  using tavro::PageSession;
  // The zoom a view may show the map at: the page's buttons stop where the window's do.
  emscripten::constant("minZoom", tavro::kMinZoom);
  emscripten::constant("maxZoom", tavro::kMaxZoom);
  emscripten::constant("maxChosenZoom", tavro::kMaxChosenZoom);
  emscripten::class_<PageSession>("Session")
      .constructor<>()
      .function("open", &PageSession::Open)
      .function("startSet", &PageSession::StartSet)
      .function("setUnpackLimit", &PageSession::SetUnpackLimit)
      .function("extractedFolder", &PageSession::ExtractedFolder)
      .function("newDocument", &PageSession::NewDocument)
      .function("states", &PageSession::States)
      .function("selectSet", &PageSession::SelectSet)
      .function("selectGroup", &PageSession::SelectGroup)
      .function("colourMode256", &PageSession::ColourMode256)
      .function("colourModeTrue", &PageSession::ColourModeTrue)
      .function("transparent50", &PageSession::Transparent50)
      .function("adjustObjects", &PageSession::AdjustObjects)
      .function("objectPositions", &PageSession::ObjectPositions)
      .function("placeObject", &PageSession::PlaceObject)
      .function("press", &PageSession::Press)
      .function("move", &PageSession::Move)
      .function("release", &PageSession::Release)
      .function("pointerLost", &PageSession::PointerLost)
      .function("holdsObject", &PageSession::HoldsObject)
      .function("key", &PageSession::Key)
      .function("tickCount", &PageSession::TickCount)
      .function("runTimerPass", &PageSession::RunTimerPass)
      .function("nextTimerPassDelay", &PageSession::NextTimerPassDelay)
      .function("delayAlarms", &PageSession::DelayAlarms)
      .function("save", &PageSession::Save)
      .function("informationText", &PageSession::InformationText)
      .function("inspect", &PageSession::Inspect)
      .function("loadReport", &PageSession::LoadReport)
      .function("record", &PageSession::Record)
      .function("takePicture", &PageSession::TakePicture)
      .function("pixels", &PageSession::Pixels)
      .function("thumbnail", &PageSession::Thumbnail)
      .function("exportSet", &PageSession::ExportSet)
      .function("takeSounds", &PageSession::TakeSounds)
      .function("takeDebugTexts", &PageSession::TakeDebugTexts);
}
