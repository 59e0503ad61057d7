// CTavroDoc: everything that belongs to one loaded doll set.
//
// The document owns the configuration text, the cel and object tables with every cel's pixels,
// the colour groups, the composed map and the compiled scripts. The view owns nothing of the set.
// Operations are declared here and defined in the folder of the subsystem they belong to
// (document/, imagefiles/, composition/, scripts/, interaction/).
//
// The document reaches the outside world (message boxes, sound, keys, clock, view) only through
// the Host it is given; it includes no toolkit header. Operations report by return values.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "composition/ComposedMap.h"
#include "document/ArchiveSession.h"
#include "document/DocumentScriptTarget.h"
#include "imagefiles/SetImageFiles.h"
#include "interaction/PointerState.h"
#include "platform/Host.h"
#include "platform/MapRect.h"
#include "scripts/ScriptEngine.h"
#include "set/DollSet.h"
#include "set/SetRecords.h"

namespace tavro {

class CTavroDoc {
 public:
  explicit CTavroDoc(Host& host);
  ~CTavroDoc();
  CTavroDoc(const CTavroDoc&) = delete;
  CTavroDoc& operator=(const CTavroDoc&) = delete;

  Host& host() { return *HostLink; }

  // ---- the set (set/) ----
  // The loaded set, read-only; it changes through the document's operations.
  const DollSet& Set() const { return TheSet; }
  // The set to change through its own named operations: the script actions, and sets built by
  // hand (tests, benchmarks, fuzzers, the view's first empty playfield). Nothing else of the
  // document follows such a change by itself.
  DollSet& EditSet() { return TheSet; }
  // What loading found: the LoadErrors bits of the last configuration read, and how many cels
  // have had their pixels attached since the tables were last freed.
  struct LoadReport {
    int32_t Errors = 0;
    int32_t LoadedCels = 0;
  };
  const LoadReport& LastLoad() const { return Report; }
  // ---- end the set ----

  // ---- document: line handlers and load driver (document/) ----
  // Life cycle of a set (document/SetLifecycle.cpp). ResetSet puts the defaults in place and
  // leaves the tables and the configuration text alone; DeleteContents frees the tables and every
  // cel's pixels; OnNewDocument empties the document and returns true.
  void ResetSet();
  void DeleteContents();
  bool OnNewDocument();

  // Reads a configuration from the bytes of its file; none (a file that could not be read whole)
  // leaves the document empty without a word. Reports nothing by return value: problems show as
  // messages and as SetLoaded false. The caller runs ResetSet and DeleteContents first, as the
  // open step (OpenConfigFile) does.
  void LoadConfig(std::optional<std::vector<char>> text);

 private:
  friend class ConfigReader;
  bool ReadConfigText(std::optional<std::vector<char>>& text);
  void ReportLoadErrors();
  void ShowLoadedSet();
  void EmptyLoadedSet();

 public:
  // ---- end line handlers and load driver ----

  // ---- image files (imagefiles/SetImageFiles.h, through the document's set) ----
  // Decodes the cel file of `cell`; returns one LoadErrors bit or 0.
  int32_t LoadCel(CellEntry& cell);
  // Reads palette file `name` as palette `number`; 0 read, 1 not found, 2 bad header.
  int32_t LoadPaletteFile(const char* name, int32_t number);
  // ---- end image files ----

  // ---- composition (composition/) ----
  // The composed map, for the display, the clipboard, the PNG writer and tests.
  const ComposedMap& Map() const { return Composed; }
  // The map's size and mode for the next AllocateMap (a set's playfield, a hand-made set).
  void SetMapSize(int32_t stride, int32_t height) { Composed.SetSize(stride, height); }
  void SetTrueColourMode(bool trueColour) { Composed.SetTrueColourMode(trueColour); }
  // Replaces the map with one made elsewhere (a hand-made picture).
  void AdoptMap(ComposedMap map) { Composed = std::move(map); }
  // Replaces the map's pixels with a zero-filled map of its size, 3 bytes a pixel when
  // `trueColour`, else 1. Does not compose. On allocation failure the map is none.
  void AllocateMap(bool trueColour);
  // Recomposes a rectangle of the map (compose::ComposeRect) with what the document holds.
  void ComposeRect(int32_t left, int32_t top, int32_t width, int32_t height);
  // Draws the visible cels that meet the rectangle over what the map holds; ComposeRect's step.
  void DrawCellsInRect(int32_t left, int32_t top, int32_t width, int32_t height);
  // Makes `set` current (positions, visibility, colour group) without composing; raises "set("
  // first. Sets outside 0..9 only store the current positions and group.
  void ApplySet(int32_t set);
  // ApplySet, then the whole playfield recomposed, then BuildPalette of CurrentGroup.
  void SwitchSet(int32_t set);
  // Fills the map's colour table from `group` and makes it CurrentGroup.
  // Groups outside 0..9 read as group 0; at most 256 colours are taken.
  void BuildPalette(int32_t group);
  // ComposeRect over the dirty area, then the area empty and the map clean. Callers copy the
  // area first if they need to repaint it.
  void FlushDirtyRect();
  // Adds `rect` (map coordinates, right and bottom exclusive) to the dirty area and marks the map
  // dirty, also when `rect` is empty.
  // This is how event actions ask for a recomposition; they never compose themselves.
  void MarkDirty(const MapRect& rect);
  // MarkDirty of the whole playfield (a set or colour group changed by a script).
  void MarkPlayfieldDirty();

  // Colour-mode commands. Each does nothing while no set is loaded (SetLoaded false), so a map of a
  // stale size is never composed; otherwise it reallocates the map in the new form, switches to
  // CurrentSet again (raising its "set(") and asks the host to repaint the playfield.
  void SetColourMode256();
  void SetColourModeTrue();
  // Every cel's Transparency becomes 128, then as SetColourModeTrue.
  void ApplyTransparent50();
  // ---- end composition ----

  // ---- scripts (scripts/) ----
  // The document's script engine, acting on the document through a DocumentScriptTarget.
  ScriptEngine& Scripts() { return Engine; }
  const ScriptEngine& Scripts() const { return Engine; }
  // The engine's operations that the loader, picking, dragging, set application, the view and
  // tavro-render call; see ScriptEngine.
  int32_t RunEvent(int32_t event, int32_t argument);
  void RunObjectEvent(int32_t event, int32_t objectNumber);
  void DisarmAllAlarms();
  int32_t RunTimerPass(uint32_t now);
  int32_t NextTimerPassDelay(uint32_t now) const;
  void SeedScriptRandom(uint32_t seed);

  static constexpr int32_t kNoTimerPass = ScriptEngine::kNoTimerPass;

 private:
  DocumentScriptTarget ScriptSide{*this};
  ScriptEngine Engine{ScriptSide};

 public:
  // ---- end scripts ----

  // ---- interaction, document side (interaction/) ----
  // Pointer position, zoom, bounds, what is held and the key sequence that lifts fixing.
  PointerState& Pointer() { return Pointing; }
  const PointerState& Pointer() const { return Pointing; }
  // Object number under an opaque pixel of a visible cel at map (x, y), or -1. Sets the last
  // hit cel.
  int32_t HitTest(int32_t x, int32_t y);
  enum class PickPurpose { Drag, Inspect };
  // Drag: slot of the object picked up at the pointer (0 = none), press events raised, drag
  // prepared. Inspect: object number + 1 (0 = none), nothing else changes.
  int32_t PickObject(PickPurpose purpose);
  enum class DragPhase { Move, Drop };
  // What one drag step did.
  struct DragResult {
    std::optional<MapRect> redraw;  // map area to repaint; none when nothing moved
    bool limitReached = false;      // a fixed object was pulled further than it gives
    bool scroll = false;            // the object left the visible part: scroll the view by
    int32_t scrollX = 0;            // these zoomed pixels
    int32_t scrollY = 0;
  };
  // One drag step of the held object. `visible` is the part of the picture the view shows, in
  // zoomed pixels; an object leaving it asks for a scroll.
  DragResult DragStep(DragPhase phase, const MapRect& visible = {});
  // The view's press and drop around PickObject/DragStep: the held slot set, bounds restored.
  void PressAtPointer();
  DragResult DropHeldObject();
  // After a pick or a drop: recomposes what event actions changed and has the Host repaint it.
  void FlushAndRepaint();
  // Moves the held object by one step, recomposes the swept area and asks for a scroll when the
  // object leaves `visible`.
  DragResult MoveHeldObject(int32_t sx, int32_t sy, const MapRect& visible);

  enum class SetChoice { NotInUse, AlreadyShown, Switched };
  // Makes set n current when it is in use; repaints through the Host when it switched. The view
  // refreshes its command states for every outcome but NotInUse.
  SetChoice SelectSet(int32_t n);
  // Makes colour group n current and repaints the whole map.
  void SelectGroup(int32_t n);

  // The Information box text: six lines.
  std::string InformationText() const;
  // Appends one line per cel line of object n: its "#"-line ordinal, " : " and its comment.
  // The text never grows past 1,023 characters; lines that no longer fit are left out.
  void DescribeObjectCells(int32_t n, std::string& text) const;
  // Right-button inspection at the pointer; false when no object is there.
  bool InspectAtPointer(std::string& caption, std::string& text);
  // Gives every object of the current set its home-set position in all sets of its cels.
  void AdjustObjects();

  // ---- end interaction ----

  // ---- saving and archives (document/) ----
  // The configuration text as a save writes it: lines copied, ten set lines regenerated.
  void WriteConfigText(std::string& out);
  // Appends set `set`'s line(s) to `out`; false (nothing written) for a set above 9.
  bool WriteSetLine(int32_t set, std::string& out, int32_t lineWidth);
  // Does object `number` have a position in `set` (x or y above 0)?
  bool HasSetPosition(int32_t number, int32_t set) const;
  // The highest object number a set line lists: -1 without objects, else at least 0.
  int32_t LastListedObject(int32_t set) const;
  // Save and Save As are offered only for a loaded set that did not come from an archive.
  bool CanSave() const;
  // File Save: true (ConfirmOverwrite 1) when `pathName` exists and may be read and written;
  // false (ConfirmOverwrite 0) when the caller must ask for a name as Save As does.
  bool PrepareSave(const std::string& pathName);
  // The save step: asks before overwriting when ConfirmOverwrite, then SaveConfigFile; reports
  // a failed write through the Host.
  bool OnSaveDocument(const std::string& path);
  // Writes the configuration to `path` through a temporary file renamed over it, so a failed
  // save leaves the old file whole. On failure `error` says why.
  bool SaveConfigFile(const std::string& path, std::string& error);

  // File > Open and tavro-render's open: a configuration file directly, an LZH or ZIP archive
  // through its temporary directory (document/ArchiveSession.h). Puts the set's defaults in place
  // first; tells the user through the Host why a file could not be opened.
  bool OnOpenDocument(const std::string& path);
  // The open step for one configuration file: false, with a message for the user in `error` and
  // the document untouched, when the file cannot be read; true otherwise, also when the file gave
  // no set (SetLoaded tells that apart). Sets SetDirectory (absolute, with a trailing '/'),
  // SetBaseName and SetExtension from the path, since the set's cel and palette names are
  // resolved next to the file being read. Does not run ResetSet: OnOpenDocument does, as a
  // caller that bypasses it must do too.
  bool OpenConfigFile(const std::string& path, std::string& error);
  // Larger files cannot be configuration files (the largest useful one is well under a
  // megabyte); refusing them keeps a stray multi-gigabyte file from being read into memory whole.
  static constexpr int64_t kMaxConfigFileBytes = 64 * 1024 * 1024;
  // After OnOpenDocument(path) succeeded: did the set come out of the archive at `path`?
  bool OpenedFromArchive(const std::string& path) const { return Session.OpenedFrom(path); }
  const ArchiveSession& Archive() const { return Session; }
  // Deletes what was extracted from archives, with the wait cursor up; nothing when nothing was.
  void RemoveTempDirectory();

 private:
  bool OpenStep(const std::string& path);
  void UseSetPath(const std::string& path);
  bool OpenArchive(const std::string& path, bool repeat, bool newDirectory);
  bool MakeArchiveDirectory();
  // Tells the user why the archive at `path` cannot be opened; false.
  bool TellArchiveFailure(const std::string& path, const std::string& reason);

  ArchiveSession Session;

 public:
  // ---- end saving and archives ----

  // ---------------------------------------------------------------------------------------
  // Members, in the declaration order of the set model.
  bool ConfirmOverwrite = false;
  bool SetLoaded = false;

 private:
  Host* HostLink;
  DollSet TheSet;
  LoadReport Report;
  CelFileLoader CelFiles;
  ComposedMap Composed;
  PointerState Pointing;
};

}  // namespace tavro
