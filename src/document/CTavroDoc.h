// CTavroDoc: everything that belongs to one loaded doll set, held in parts (the set, the composed
// map, the script engine, the pointer state, the archive session). The view owns nothing of the
// set. The document reaches the outside world only through its Host (clock, sound, settings) and
// its ChangeNotices, and reports by return values: it never asks a question. Its operations live
// in files named for what they do; each section below names them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "archives/ArchiveExtract.h"
#include "composition/ComposedMap.h"
#include "document/ArchiveSession.h"
#include "document/DocumentScriptTarget.h"
#include "imagefiles/SetImageFiles.h"
#include "interaction/PointerState.h"
#include "platform/Host.h"
#include "platform/MapRect.h"
#include "platform/OpenProgress.h"
#include "scripts/ScriptEngine.h"
#include "set/DollSet.h"
#include "set/LoadProblems.h"

namespace tavro {

// What the person chose before the open: Shift held (another archive joins the extracted
// files), and the configuration file picked from those an earlier open of the same archive
// offered (empty: none picked yet).
struct OpenChoice {
  bool Merge = false;
  std::string ConfigName;
};
struct OpenResult {
  bool Opened = false;
  // Each to be shown in a message box with the exclamation icon, in this order.
  std::vector<std::string> Messages;
  // The archive holds several configuration files and none was picked: the front end lets the
  // person choose one and opens the same path again with it (a cancel opens nothing).
  std::vector<std::string> ConfigChoices;
  // The path to put on the recent-file list; empty for none.
  std::string RecentFile;
  // The person stopped the open: nothing is shown, nothing is said, and the temporary
  // directory is gone.
  bool Cancelled = false;
};
struct SaveResult {
  bool Saved = false;
  bool NotConfirmed = false;  // nothing written: the overwrite was not confirmed
  std::string Error;          // why a write failed, to be shown with the exclamation icon
};

class CTavroDoc {
 public:
  CTavroDoc(Host& host, ChangeNotices& notices);
  // Both sides from one object (the null host and what is made from it).
  explicit CTavroDoc(NullHost& host) : CTavroDoc(host, host) {}
  ~CTavroDoc();
  CTavroDoc(const CTavroDoc&) = delete;
  CTavroDoc& operator=(const CTavroDoc&) = delete;

  Host& CurrentHost() { return *HostLink_; }
  ChangeNotices& Notices() { return *NoticesLink_; }
  // Lends the document to another outside (a recording's virtual clock); the caller hands the
  // old one back when done.
  void UseOutside(Host& host, ChangeNotices& notices) {
    HostLink_ = &host;
    NoticesLink_ = &notices;
  }
  const DollSet& Set() const { return TheSet_; }
  // For sets and maps built by hand (tests, benchmarks, fuzzers) only; nothing else of the
  // document follows such a change by itself.
  DollSet& EditSet() { return TheSet_; }
  ComposedMap& EditMap() { return Composed_; }
  // What the last load found: its LoadErrors bits, the cels that got pixels, and every problem
  // with its line (empty after an open that read no configuration).
  struct LoadReport {
    int32_t Errors = 0;
    int32_t LoadedCels = 0;
    LoadProblems Problems;
  };
  const LoadReport& LastLoad() const { return Report_; }
  const ComposedMap& Map() const { return Composed_; }
  ScriptEngine& Scripts() { return Engine_; }
  const ScriptEngine& Scripts() const { return Engine_; }
  PointerState& Pointer() { return Pointing_; }
  const PointerState& Pointer() const { return Pointing_; }
  const ArchiveSession& Archive() const { return Session_; }

  // ---- opening and saving: SetLifecycle, ArchiveOpen, ConfigFileOpen, SetLoader, SaveStep ----
  // Is a set shown? A hand-built set says so with MarkSetLoaded.
  bool IsSetLoaded() const { return SetLoaded_; }
  void MarkSetLoaded(bool loaded) { SetLoaded_ = loaded; }
  bool OnNewDocument();  // empties the document; true
  // A configuration file directly, an LZH or ZIP archive through its temporary directory. The
  // result says why a file could not be opened. `progress` hears how far the open has come; once
  // it is cancelled the open stops and leaves the document empty (see OpenResult::Cancelled).
  OpenResult OnOpenDocument(const std::string& path, const OpenChoice& choice = {},
                            OpenProgress& progress = NoOpenProgress());
  // Loads a configuration from bytes read elsewhere, as the open step does after reading the
  // file; none (a file not read whole) leaves the document empty without a word. Returns the
  // load's messages, in the order they are shown.
  std::vector<std::string> LoadConfigText(std::optional<std::vector<char>> text);
  // An open (or LoadConfigText) reads the set and stops before its first events: the front end
  // shows the load's messages first. StartLoadedSet then runs "initialize(", applies set 0, runs
  // "begin(" and shows the set; false when no loaded set waits for that.
  bool AwaitsStart() const { return StartDue_; }
  bool StartLoadedSet();
  // Larger files are refused unread: no configuration comes near this size.
  static constexpr int64_t kMaxConfigFileBytes = 64 * 1024 * 1024;
  // What an archive may unpack into the temporary directory. The desktop's default suits a disk;
  // a browser tab, whose temporary directory is its own memory, sets a smaller one.
  void SetArchiveLimits(const ExtractLimits& limits) { ArchiveLimits_ = limits; }
  const ExtractLimits& ArchiveLimits() const { return ArchiveLimits_; }
  // What was extracted from archives; the front end may put a wait cursor up around it.
  void RemoveTempDirectory();
  bool CanSave() const;  // a loaded set that did not come from an archive
  // True when `pathName` exists and may be read and written: File > Save must then have the
  // person confirm the overwrite; false (also for "") when the front end must ask for a name.
  bool MustConfirmOverwrite(const std::string& pathName) const;
  // Writes the set to `path` (see SaveConfigFile); when MustConfirmOverwrite(path) the front end
  // passes whether the person confirmed it (Save As's own dialog confirms).
  SaveResult OnSaveDocument(const std::string& path, bool overwriteConfirmed);
  // Writes through a temporary file renamed over `path`; on failure `error` says why.
  bool SaveConfigFile(const std::string& path, std::string& error);

  // ---- sets, colours, scripts: SetSelection, ColourModes, Recomposing ----
  enum class SetChoice { NotInUse, AlreadyShown, Switched };
  // Makes set n current when it is in use; repaints through the notices when it switched.
  SetChoice SelectSet(int32_t n);
  // Raises "set(", makes `set` current, recomposes the playfield and fills the colour table.
  void SwitchSet(int32_t set);
  void SelectGroup(int32_t n);  // colour group n current, the whole map repainted
  // Nothing while no set is loaded; else the map in the new form, CurrentSet switched to again.
  void SetColourMode256();
  void SetColourModeTrue();
  // Every cel's Transparency becomes 128, then as SetColourModeTrue.
  void ApplyTransparent50();
  int32_t RunTimerPass(uint32_t now) { return Engine_.RunTimerPass(now); }
  int32_t NextTimerPassDelay(uint32_t now) const { return Engine_.NextTimerPassDelay(now); }
  static constexpr int32_t kNoTimerPass = ScriptEngine::kNoTimerPass;

  // ---- the pointer: Picking, Dragging, Information, AdjustObjects ----
  enum class PickPurpose { Drag, Inspect };
  // Drag: slot of the object picked up (0 = none), press events raised, drag prepared.
  // Inspect: object number + 1 (0 = none), nothing else changes.
  int32_t PickObject(PickPurpose purpose);
  enum class DragPhase { Move, Drop };
  struct DragResult {
    std::optional<MapRect> Redraw;  // map area to repaint; none when nothing moved
    bool LimitReached = false;      // a fixed object was pulled further than it gives
    // The held object moved by (stepX, stepY) and covers objectBox (map coordinates).
    bool Moved = false;
    int32_t StepX = 0;
    int32_t StepY = 0;
    MapRect ObjectBox;
  };
  // One drag step of the held object.
  DragResult DragStep(DragPhase phase);
  void PressAtPointer();
  DragResult DropHeldObject();
  // Recomposes what event actions changed, as far as it lies on the playfield, and repaints it
  // through the notices.
  void FlushAndRepaint();
  // Right-button inspection at the pointer; false when no object is there.
  bool InspectAtPointer(std::string& caption, std::string& text);
  std::string InformationText() const;  // the Information box: six lines
  // Gives every object of the current set its home-set position in all sets of its cels.
  void AdjustObjects();
  // Object `number` of the shown set stands at (x, y), kept on the playfield, with no event
  // raised; false (nothing moves) when it is not shown, or while an object is held.
  bool PlaceShownObject(int32_t number, int32_t x, int32_t y);

 private:
  // What the front end must show, in order, collected until the operation's result takes it.
  void Tell(std::string text) { Told_.push_back(std::move(text)); }
  std::vector<std::string> TakeTold() { return std::exchange(Told_, {}); }

  void ResetSet();
  void DeleteContents();
  void LoadConfig(std::optional<std::vector<char>> text);
  bool ReadConfigText(std::optional<std::vector<char>>& text);
  void ReportLoadErrors();
  void ShowLoadedSet();
  void EmptyLoadedSet();
  void ApplySet(int32_t set);
  void ComposeRect(int32_t left, int32_t top, int32_t width, int32_t height);
  void FlushDirtyRect();
  void ChangeColourMode(bool trueColour);
  DragResult MoveHeldObject(int32_t sx, int32_t sy);
  OpenResult OpenFile(const std::string& path, const OpenChoice& choice);
  OpenResult AbandonOpen();
  bool OpenConfigFile(const std::string& path, std::string& error);
  bool OpenStep(const std::string& path);
  void UseSetPath(const std::string& path);
  bool OpenArchive(const std::string& path, bool repeat, bool newDirectory,
                   const OpenChoice& choice, OpenResult& result);
  bool MakeArchiveDirectory();
  bool TellArchiveFailure(const std::string& path, const std::string& reason);

  DocumentScriptTarget ScriptSide_{*this, TheSet_, Composed_};
  ScriptEngine Engine_{ScriptSide_};
  ArchiveSession Session_;
  bool SetLoaded_ = false;
  bool StartDue_ = false;  // a set was read and waits for StartLoadedSet
  Host* HostLink_;
  ChangeNotices* NoticesLink_;
  std::vector<std::string> Told_;
  OpenProgress* Progress_ = &NoOpenProgress();  // the running open's, or nobody's
  ExtractLimits ArchiveLimits_;
  DollSet TheSet_;
  LoadReport Report_;
  CelFileLoader CelFiles_;
  ComposedMap Composed_;
  PointerState Pointing_;
};

}  // namespace tavro
