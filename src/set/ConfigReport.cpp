// What the configuration reader tells the load report: lines it cannot use, set lines that stop
// early, cel lines that give no cel, and line ends that make the reader see other lines than an
// editor shows. None of it changes what the reader does with the line.
#include <cstring>
#include <string>

#include "set/ConfigReader.h"

namespace tavro {
namespace {

bool IsLineSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Anything but white space, zero bytes and the end-of-file mark old editors leave behind.
bool HoldsText(const char* begin, const char* end) {
  for (const char* p = begin; p < end; ++p) {
    if (!IsLineSpace(*p) && *p != '\0' && *p != '\x1A') return true;
  }
  return false;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void ConfigReader::CheckLineEnd() {
  const char* lineEnd = Cursor_;
  const char* carriageReturn =
      static_cast<const char*>(std::memchr(Start_, '\r', static_cast<size_t>(lineEnd - Start_)));
  // The usual ends: a line feed, or a carriage return and a line feed.
  if (lineEnd[-1] == '\n' && !PreviousLineCut_ &&
      (carriageReturn == nullptr || carriageReturn == lineEnd - 2)) {
    return;
  }
  NoteLineEnd(carriageReturn);
}

void ConfigReader::NoteLineEnd(const char* carriageReturn) {
  const char last = Cursor_[-1];
  const bool cut = last != '\n' && last != '\r';
  // Only the first cut of a physical line is told; a rest that is only a line end does no harm.
  if (cut && !PreviousLineCut_ && Left_ > 0 && *Cursor_ != '\n' && *Cursor_ != '\r') {
    int32_t line = 0;
    int32_t column = 0;
    Problems_->LocateText(Cursor_, line, column);
    Problems_->AddAtText(ProblemKind::LongLine,
                         "longer than 255 bytes: from column " + std::to_string(column) +
                             " on it is read as a line of its own",
                         Cursor_);
  }
  PreviousLineCut_ = cut;
  const char* textEnd = Cursor_ + Left_;
  for (const char* c = carriageReturn; c != nullptr && c < Cursor_; ++c) {
    if (*c != '\r') continue;
    if (c + 1 < textEnd && c[1] == '\n') continue;
    // A carriage return alone ends a line for an editor, but the reader goes on to the next
    // carriage return or line feed: what follows is read as part of this line.
    if (HoldsText(c + 1, Cursor_)) {
      Problems_->AddAtText(ProblemKind::JoinedLines,
                           "it ends with a carriage return but no line feed, so the next line is "
                           "read as part of it",
                           c);
    }
    return;
  }
}

void ConfigReader::NoteUnendedLine() {
  if (Start_ == nullptr || !HoldsText(Start_, Cursor_)) return;
  Problems_->AddAtText(ProblemKind::UnendedLine,
                       "the last line has no line feed, so it is never read", Start_);
}

void ConfigReader::NoteNoLineKind() {
  const char* line = LineBuffer_;
  if (!HoldsText(line, line + std::strlen(line))) return;  // blank lines are fine
  std::string detail = DescribeLineByte(line[0]) + " starts no kind of line, so it is ignored";
  if (line[0] == ' ') {
    detail += " (a blank starts a continuation only right after a set line)";
  } else if (std::strncmp(line, "\xEF\xBB\xBF", 3) == 0) {
    // Editors that save UTF-8 may put a byte order mark first, which hides the first line.
    detail = "a UTF-8 byte order mark starts the line, so it is ignored";
  } else if (line[0] == '\0') {
    detail = "a zero byte starts the line, so it is ignored";
  } else if (line[0] != '\t') {
    detail += " (comments start with \";\")";
  }
  Problems_->Add(ProblemKind::NoLineKind, detail);
}

void ConfigReader::NoteCelLineIgnored(CelLineFault fault, uint32_t mask) {
  switch (fault) {
    case CelLineFault::NoNumber: {
      const char* at = LineBuffer_ + 1;
      const bool negative = at[0] == '-' && IsDigit(at[1]);
      Problems_->Add(ProblemKind::CelLineIgnored,
                     negative
                         ? "the object number is negative"
                         : "no object number right after \"#\", found " + DescribeLineByte(*at),
                     at);
      break;
    }
    case CelLineFault::NoSlot:
      Problems_->Add(ProblemKind::CelLineIgnored, "no more objects can be made");
      break;
    case CelLineFault::NoSet:
      Problems_->Add(ProblemKind::CelLineIgnored,
                     mask == 0
                         ? "the set list after \":\" names no set, so no cel is made"
                         : "the set list names no set from 0 to 9, so the cel is never shown");
      break;
  }
}

void ConfigReader::NoteSetLineStop(const char* at, bool readingY, int32_t object) {
  int32_t line = 0;
  int32_t column = 0;
  Problems_->Locate(at, line, column);
  const char* coordinate = readingY ? "y" : "x";
  std::string why;
  if (at[0] == '-' && IsDigit(at[1])) {
    why = std::string("negative ") + coordinate;
  } else if (readingY && (*at == '\0' || *at == '\n')) {
    why = "the entry ends after x, with no y";
  } else if (readingY && (*at == ' ' || *at == '\t')) {
    why = DescribeLineByte(*at) + " after the separator " + DescribeLineByte(at[-1]) +
          "; y must follow it directly";
  } else if (readingY) {
    why = "expected y after the separator " + DescribeLineByte(at[-1]) + ", found " +
          DescribeLineByte(*at);
  } else {
    why = "expected x or \"*\", found " + DescribeLineByte(*at);
  }
  Problems_->Add(ProblemKind::SetLineStopped,
                 "set " + std::to_string(SetIndex_) + " stops at object " + std::to_string(object) +
                     ", column " + std::to_string(column) + ": " + why,
                 at);
}

}  // namespace tavro
