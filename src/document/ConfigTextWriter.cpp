// The configuration as a save writes it.
//
// The text read at load time is copied line by line; only the set lines and their continuation
// lines are regenerated, from the positions of the moment. Every saved file has ten set lines.
#include "document/ConfigTextWriter.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "set/ConfigReader.h"

namespace tavro {
namespace {

constexpr int32_t kLineWidth = 80;
constexpr int32_t kRightMargin = 10;
constexpr char kLineEnd[] = "\r\n";

// The reader stops a set line at a negative number and would lose every later entry with it,
// so a coordinate below 0 is written as 0. Such positions come only from a set applying a
// position to an object larger than the playfield, and the reader pulls 0 back to the same
// place when it applies the set again.
int32_t WritableCoordinate(int16_t value) { return value < 0 ? 0 : value; }

}  // namespace

bool HasSetPosition(const DollSet& doll, int32_t number, int32_t set) {
  const uint16_t slot = doll.SlotOf(number);
  if (slot == 0 || slot >= doll.ObjectTable().size()) return false;
  const ObjectEntry& object = doll.ObjectTable()[slot];
  return object.SetX[set] > 0 || object.SetY[set] > 0;
}

int32_t LastListedObject(const DollSet& doll, int32_t set) {
  // Object 0 is always listed once there is an object at all. The search goes through the
  // numbers that have slots, so a huge ObjectCount costs nothing.
  const int32_t count = doll.ObjectCount();
  int32_t last = count > 0 ? 0 : -1;
  doll.ForEachObject([&](int32_t number, uint16_t) {
    if (number < count && number > last && HasSetPosition(doll, number, set)) last = number;
  });
  return last;
}

bool WriteSetLine(const DollSet& doll, int32_t set, std::string& out, int32_t lineWidth) {
  if (set < 0 || set >= kSetCount) return false;
  const int32_t last = LastListedObject(doll, set);
  char entry[32];
  int32_t column = std::snprintf(entry, sizeof entry, "$%d", doll.GroupOfSet(set));
  out += entry;
  const int32_t breakColumn = lineWidth - kRightMargin;
  for (int32_t number = 0; number <= last; ++number) {
    int32_t length = 0;
    if (HasSetPosition(doll, number, set)) {
      const ObjectEntry& object = doll.ObjectTable()[doll.SlotOf(number)];
      length = std::snprintf(entry, sizeof entry, " %d,%d", WritableCoordinate(object.SetX[set]),
                             WritableCoordinate(object.SetY[set]));
    } else {
      length = std::snprintf(entry, sizeof entry, " *");
    }
    out += entry;
    column += length;
    if (column >= breakColumn) {
      out += kLineEnd;
      column = 0;
    }
  }
  if (column != 0) out += kLineEnd;
  return true;
}

void WriteConfigText(const DollSet& doll, std::string& out,
                     const std::function<void(int32_t)>& settleSet) {
  const std::vector<char>& text = doll.ConfigText();
  if (text.empty()) return;
  const auto writeSetLine = [&](int32_t set) {
    if (set < 0 || set >= kSetCount) return false;
    settleSet(set);
    return WriteSetLine(doll, set, out, kLineWidth);
  };
  ConfigReader reader(doll);
  int32_t set = -1;
  char remembered = '\0';
  while (reader.NextLine()) {
    const char* line = reader.Line();
    if (line[0] == '$') {
      writeSetLine(++set);
      remembered = '$';
    } else if (line[0] == ' ' && remembered == '$') {
      // A continuation of a set line: regenerated with it.
    } else {
      const char* next = reader.TextCursor();
      // The bytes as read, carriage returns gone; a zero byte inside a line is kept too.
      std::copy_if(reader.LineStart(), next, std::back_inserter(out),
                   [](char c) { return c != '\r'; });
      // A line ended by its second carriage return loses that end with the carriage returns;
      // without a line feed in its place it would run into the next line when read again. A
      // line feed right after it is read as a line of its own and copied, so it ends this one.
      const bool lineFeedFollows = reader.Remaining() > 0 && *next == '\n';
      if (next[-1] == '\r' && !lineFeedFollows) out += '\n';
      remembered = line[0];
    }
  }
  while (writeSetLine(++set)) {
  }
  // The reader never sees a last line without a line feed, but it is the user's text: it goes to
  // the very end of the saved file, still without a line feed, so that it stays unread there too.
  const char* end =
      text.data() + std::min<size_t>(static_cast<size_t>(doll.ConfigTextLength()), text.size());
  const char* unread = reader.LineStart();
  if (unread < end) out.append(unread, end);
}

}  // namespace tavro
