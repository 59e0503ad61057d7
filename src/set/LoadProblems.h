// What a load met that a set maker would want to mend: every dropped cel, missing palette, set
// line cut short, skipped script word and unusable line, each with its file, physical line and
// reason. The loader's messages say once that something went wrong; this says where.
//
// Recording must not change what the load does or shows, and costs nothing while nothing goes
// wrong: the line reader only says where each line starts, and line numbers are counted, and
// details formatted, only when a problem is recorded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavro {

enum class ProblemKind : uint8_t {
  TooManyCels,         // a cel line past the largest number of cels
  BadCel,              // a header field (or the object number) refuses the cel
  CelNotFound,         // no such file, or it cannot be read
  CelTooLarge,         // the cel reaches past the playfield in force
  NoMemory,            // no memory for the cel's pixels
  CelLineIgnored,      // a '#' line that gives no cel: no object number, a set list naming no set
  PaletteNotFound,     // no such palette file
  BadPalette,          // a header field refuses the palette file
  PaletteLineIgnored,  // a '%' line past the largest number of palette files
  SetLineStopped,      // a set line whose entries stop before the line ends
  SetLineIgnored,      // the eleventh set line and later
  UnknownWord,         // a script word that is no keyword
  NoSuchTarget,        // a script target naming no cel and no object
  BadNumber,           // a script number that must follow its parenthesis directly and does not
  StoreFull,           // a script record dropped because the action store is full
  NoLineKind,          // a line whose first byte starts no kind of line
  LongLine,            // a line longer than 255 bytes, whose rest is read as a line of its own
  JoinedLines,         // a carriage return alone, which glues the next line onto this one
  UnendedLine,         // the last line, without a line feed, which is never read
  ConvertedName,       // a cel or palette file found only by its name in the other encoding
};

// The kind as the report prints it ("cel not found").
const char* ProblemKindName(ProblemKind kind);

struct LoadProblem {
  std::string File;  // the configuration file as it was opened ("ARCHIVE:MEMBER" for archives)
  int32_t Line = 0;  // physical line, from 1
  ProblemKind Kind = ProblemKind::NoLineKind;
  std::string Detail;  // bytes, as the set wrote its names
};

// "FILE:LINE: kind: detail", without a line end.
std::string FormatLoadProblem(const LoadProblem& problem);

// A byte of a line as a detail names it: "x" in quotes, a blank, a tab, the end of the line, or
// its value in hexadecimal.
std::string DescribeLineByte(char byte);
// A name or word as written, in double quotes, its bytes kept but for control bytes, which are
// written as \n, \t or \xNN.
std::string QuotedName(const std::string& name);

// The problems of one load, with what it takes to number their lines.
class LoadProblems {
 public:
  // Forgets every problem; later ones belong to `file`.
  void Clear(std::string file = {});
  // The configuration text being read (`length` bytes), whose lines are numbered.
  void BeginText(const char* text, int32_t length);
  // The line the reader hands on now: where it starts in the text, and the buffer holding its
  // copy (carriage returns dropped) that the handlers parse.
  void AtLine(const char* start, const char* buffer) {
    LineStart_ = start;
    LineBuffer_ = buffer;
  }

  // A problem of the current line. `at`, when given, points into the line buffer at the spot
  // concerned; it decides the line where a line read as one holds several physical ones.
  void Add(ProblemKind kind, std::string detail, const char* at = nullptr);
  // Where problems found later belong: the current line, after the problems recorded so far.
  // Work finished off the calling thread (decoding a cel) records through its place, in the
  // order the places were held, so its problems stand where they would have stood.
  struct Place {
    size_t Index = 0;
    size_t FilledBefore = 0;
    int32_t Line = 0;
  };
  Place HoldPlace();
  void AddAt(const Place& place, ProblemKind kind, std::string detail);
  // A problem at a position of the text itself rather than of the line buffer.
  void AddAtText(ProblemKind kind, std::string detail, const char* position);
  // Physical line and column (both from 1) of a spot in the current line buffer, or of a
  // position in the text.
  void Locate(const char* at, int32_t& line, int32_t& column);
  void LocateText(const char* position, int32_t& line, int32_t& column);

  // A script target naming object `number`, which has no cel line above this one. It counts as a
  // problem only if no cel line names the object by the end of the file (see Resolve).
  void AddUnlessObjectAppears(int32_t number, std::string detail, const char* at);
  // The end of the text: targets whose object turned up are dropped, the rest recorded; every
  // problem sorted by line (stable, so one line's problems keep their order). The text may go
  // after this.
  template <typename HasObject>
  void Finish(HasObject&& hasObject) {
    for (PendingTarget& pending : Pending_) {
      if (!hasObject(pending.Number)) Entries_.push_back(std::move(pending.Problem));
    }
    Pending_.clear();
    SortByLine();
    BeginText(nullptr, 0);
  }

  const std::vector<LoadProblem>& All() const { return Entries_; }
  bool Empty() const { return Entries_.empty(); }
  const std::string& File() const { return FileName_; }

 private:
  struct PendingTarget {
    int32_t Number;
    LoadProblem Problem;
  };
  const char* TextPosition(const char* at) const;
  void SortByLine();

  std::vector<LoadProblem> Entries_;
  size_t FilledAtPlaces_ = 0;  // problems added through places so far
  std::vector<PendingTarget> Pending_;
  std::string FileName_;
  const char* Text_ = nullptr;
  const char* TextEnd_ = nullptr;
  const char* LineStart_ = nullptr;
  const char* LineBuffer_ = nullptr;
  // Lines are counted lazily and forward: how far the count has got, the line number there and
  // where that line starts.
  const char* Counted_ = nullptr;
  int32_t CountedLine_ = 1;
  const char* CountedLineStart_ = nullptr;
};

}  // namespace tavro
