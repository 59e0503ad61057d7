// Physical lines end with CR LF, LF or a carriage return alone, whatever the line reader makes of
// them, so that a line number is the one an editor shows.
#include "set/LoadProblems.h"

#include <algorithm>
#include <cstddef>

namespace tavro {

const char* ProblemKindName(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::TooManyCels:
      return "too many cels";
    case ProblemKind::BadCel:
      return "bad cel";
    case ProblemKind::CelNotFound:
      return "cel not found";
    case ProblemKind::CelTooLarge:
      return "cel too large";
    case ProblemKind::NoMemory:
      return "out of memory";
    case ProblemKind::CelLineIgnored:
      return "cel line ignored";
    case ProblemKind::PaletteNotFound:
      return "palette not found";
    case ProblemKind::BadPalette:
      return "bad palette";
    case ProblemKind::PaletteLineIgnored:
      return "palette line ignored";
    case ProblemKind::SetLineStopped:
      return "set line stopped";
    case ProblemKind::SetLineIgnored:
      return "set line ignored";
    case ProblemKind::UnknownWord:
      return "unknown word";
    case ProblemKind::NoSuchTarget:
      return "no such target";
    case ProblemKind::BadNumber:
      return "bad number";
    case ProblemKind::StoreFull:
      return "script store full";
    case ProblemKind::NoLineKind:
      return "no line kind";
    case ProblemKind::LongLine:
      return "long line";
    case ProblemKind::JoinedLines:
      return "joined lines";
    case ProblemKind::UnendedLine:
      return "unended line";
    case ProblemKind::ConvertedName:
      return "found by converted name";
  }
  return "problem";
}

std::string FormatLoadProblem(const LoadProblem& problem) {
  return problem.File + ":" + std::to_string(problem.Line) + ": " + ProblemKindName(problem.Kind) +
         ": " + problem.Detail;
}

std::string DescribeLineByte(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  if (byte == '\0' || byte == '\n') return "the end of the line";
  if (byte == ' ') return "a blank";
  if (byte == '\t') return "a tab";
  if (value > 0x20 && value < 0x7F) return QuotedName(std::string(1, byte));
  static const char kHex[] = "0123456789ABCDEF";
  return std::string("byte 0x") + kHex[value >> 4] + kHex[value & 0x0F];
}

// Control bytes are spelt out so that a problem stays on one line; every other byte, Shift_JIS
// backslashes included, is kept as the set wrote it.
std::string QuotedName(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string quoted = "\"";
  for (const char c : name) {
    const auto value = static_cast<unsigned char>(c);
    if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (value < 0x20 || value == 0x7F) {
      quoted += std::string("\\x") + kHex[value >> 4] + kHex[value & 0x0F];
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

void LoadProblems::Clear(std::string file) {
  Entries.clear();
  Pending.clear();
  FileName = std::move(file);
  BeginText(nullptr, 0);
}

void LoadProblems::BeginText(const char* text, int32_t length) {
  Text = text;
  TextEnd = text != nullptr ? text + std::max(length, 0) : nullptr;
  LineStart = text;
  LineBuffer = nullptr;
  Counted = text;
  CountedLine = 1;
  CountedLineStart = text;
}

void LoadProblems::Add(ProblemKind kind, std::string detail, const char* at) {
  int32_t line = 0;
  int32_t column = 0;
  Locate(at, line, column);
  Entries.push_back({FileName, line, kind, std::move(detail)});
}

LoadProblems::Place LoadProblems::HoldPlace() {
  int32_t line = 0;
  int32_t column = 0;
  LocateText(LineStart, line, column);
  return {Entries.size(), FilledAtPlaces, line};
}

// Places are filled in the order they were held, so every problem added through a place since
// this one was held lies before it.
void LoadProblems::AddAt(const Place& place, ProblemKind kind, std::string detail) {
  const size_t index =
      std::min(place.Index + (FilledAtPlaces - place.FilledBefore), Entries.size());
  Entries.insert(Entries.begin() + static_cast<std::ptrdiff_t>(index),
                 {FileName, place.Line, kind, std::move(detail)});
  ++FilledAtPlaces;
}

void LoadProblems::AddAtText(ProblemKind kind, std::string detail, const char* position) {
  int32_t line = 0;
  int32_t column = 0;
  LocateText(position, line, column);
  Entries.push_back({FileName, line, kind, std::move(detail)});
}

void LoadProblems::AddUnlessObjectAppears(int32_t number, std::string detail, const char* at) {
  int32_t line = 0;
  int32_t column = 0;
  Locate(at, line, column);
  Pending.push_back({number, {FileName, line, ProblemKind::NoSuchTarget, std::move(detail)}});
}

void LoadProblems::Locate(const char* at, int32_t& line, int32_t& column) {
  LocateText(TextPosition(at), line, column);
}

// The buffer holds the line's bytes without its carriage returns; walk the text the same way to
// find the byte `at` was copied from.
const char* LoadProblems::TextPosition(const char* at) const {
  if (LineStart == nullptr || LineBuffer == nullptr || at == nullptr || at < LineBuffer) {
    return LineStart;
  }
  const char* position = LineStart;
  for (std::ptrdiff_t stored = at - LineBuffer; position < TextEnd && stored > 0; ++position) {
    if (*position != '\r') --stored;
  }
  // A byte after a lone carriage return lies on the next physical line; the end of the line
  // stays where the line ends.
  if (*at != '\0') {
    while (position < TextEnd && *position == '\r') ++position;
  }
  return position;
}

void LoadProblems::LocateText(const char* position, int32_t& line, int32_t& column) {
  if (Text == nullptr || position == nullptr) {
    line = 0;
    column = 0;
    return;
  }
  position = std::clamp(position, Text, TextEnd);
  // Problems arrive in text order; one that does not starts the count again.
  if (position < Counted) {
    Counted = Text;
    CountedLine = 1;
    CountedLineStart = Text;
  }
  for (const char* p = Counted; p < position; ++p) {
    const bool lineEnd = *p == '\n' || (*p == '\r' && (p + 1 == TextEnd || p[1] != '\n'));
    if (lineEnd) {
      ++CountedLine;
      CountedLineStart = p + 1;
    }
  }
  Counted = position;
  line = CountedLine;
  column = static_cast<int32_t>(position - CountedLineStart) + 1;
}

void LoadProblems::SortByLine() {
  std::stable_sort(Entries.begin(), Entries.end(),
                   [](const LoadProblem& a, const LoadProblem& b) { return a.Line < b.Line; });
}

}  // namespace tavro
