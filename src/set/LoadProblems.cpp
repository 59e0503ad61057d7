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
  Entries_.clear();
  Pending_.clear();
  FileName_ = std::move(file);
  BeginText(nullptr, 0);
}

void LoadProblems::BeginText(const char* text, int32_t length) {
  Text_ = text;
  TextEnd_ = text != nullptr ? text + std::max(length, 0) : nullptr;
  LineStart_ = text;
  LineBuffer_ = nullptr;
  Counted_ = text;
  CountedLine_ = 1;
  CountedLineStart_ = text;
}

void LoadProblems::Add(ProblemKind kind, std::string detail, const char* at) {
  int32_t line = 0;
  int32_t column = 0;
  Locate(at, line, column);
  Entries_.push_back({FileName_, line, kind, std::move(detail)});
}

LoadProblems::Place LoadProblems::HoldPlace() {
  int32_t line = 0;
  int32_t column = 0;
  LocateText(LineStart_, line, column);
  return {Entries_.size(), FilledAtPlaces_, line};
}

// Places are filled in the order they were held, so every problem added through a place since
// this one was held lies before it.
void LoadProblems::AddAt(const Place& place, ProblemKind kind, std::string detail) {
  const size_t index =
      std::min(place.Index + (FilledAtPlaces_ - place.FilledBefore), Entries_.size());
  Entries_.insert(Entries_.begin() + static_cast<std::ptrdiff_t>(index),
                  {FileName_, place.Line, kind, std::move(detail)});
  ++FilledAtPlaces_;
}

void LoadProblems::AddAtText(ProblemKind kind, std::string detail, const char* position) {
  int32_t line = 0;
  int32_t column = 0;
  LocateText(position, line, column);
  Entries_.push_back({FileName_, line, kind, std::move(detail)});
}

void LoadProblems::AddUnlessObjectAppears(int32_t number, std::string detail, const char* at) {
  int32_t line = 0;
  int32_t column = 0;
  Locate(at, line, column);
  Pending_.push_back({number, {FileName_, line, ProblemKind::NoSuchTarget, std::move(detail)}});
}

void LoadProblems::Locate(const char* at, int32_t& line, int32_t& column) {
  LocateText(TextPosition(at), line, column);
}

// The buffer holds the line's bytes without its carriage returns; walk the text the same way to
// find the byte `at` was copied from.
const char* LoadProblems::TextPosition(const char* at) const {
  if (LineStart_ == nullptr || LineBuffer_ == nullptr || at == nullptr || at < LineBuffer_) {
    return LineStart_;
  }
  const char* position = LineStart_;
  for (std::ptrdiff_t stored = at - LineBuffer_; position < TextEnd_ && stored > 0; ++position) {
    if (*position != '\r') --stored;
  }
  // A byte after a lone carriage return lies on the next physical line; the end of the line
  // stays where the line ends.
  if (*at != '\0') {
    while (position < TextEnd_ && *position == '\r') ++position;
  }
  return position;
}

void LoadProblems::LocateText(const char* position, int32_t& line, int32_t& column) {
  if (Text_ == nullptr || position == nullptr) {
    line = 0;
    column = 0;
    return;
  }
  position = std::clamp(position, Text_, TextEnd_);
  // Problems arrive in text order; one that does not starts the count again.
  if (position < Counted_) {
    Counted_ = Text_;
    CountedLine_ = 1;
    CountedLineStart_ = Text_;
  }
  for (const char* p = Counted_; p < position; ++p) {
    const bool lineEnd = *p == '\n' || (*p == '\r' && (p + 1 == TextEnd_ || p[1] != '\n'));
    if (lineEnd) {
      ++CountedLine_;
      CountedLineStart_ = p + 1;
    }
  }
  Counted_ = position;
  line = CountedLine_;
  column = static_cast<int32_t>(position - CountedLineStart_) + 1;
}

void LoadProblems::SortByLine() {
  std::stable_sort(Entries_.begin(), Entries_.end(),
                   [](const LoadProblem& a, const LoadProblem& b) { return a.Line < b.Line; });
}

}  // namespace tavro
