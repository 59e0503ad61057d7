// What the script parser tells the load report. Scripts fail silently by design: a misspelt
// keyword is skipped and an action bound to a name that matches nothing never runs. The report
// says which word, which target, and the keyword that was probably meant.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/NameBytes.h"
#include "scripts/ScriptEngine.h"
#include "set/SetRecords.h"

namespace tavro {
namespace {

constexpr size_t kShownWordBytes = 40;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The keyword that `candidate` (ending with its parenthesis) is written like, ignoring letter
// case; failing that, one a slip of a letter or two away.
const ScriptKeyword* KeywordLike(const std::string& candidate, bool& caseOnly) {
  caseOnly = false;
  for (const ScriptKeyword& keyword : ScriptKeywords()) {
    if (EqualsIgnoringCase(candidate, keyword.Text)) {
      caseOnly = true;
      return &keyword;
    }
  }
  const std::string upper = UpperCaseAscii(candidate);
  const ScriptKeyword* best = nullptr;
  size_t bestDistance = 0;
  for (const ScriptKeyword& keyword : ScriptKeywords()) {
    const std::string text = UpperCaseAscii(keyword.Text);
    const size_t allowed = text.size() > 6 ? 2 : 1;
    const size_t distance = EditDistance(upper, text);
    if (distance <= allowed && (best == nullptr || distance < bestDistance)) {
      best = &keyword;
      bestDistance = distance;
    }
  }
  return best;
}

std::string KeywordHint(const char* word, const char* end) {
  const char* parenthesis =
      static_cast<const char*>(std::memchr(word, '(', static_cast<size_t>(end - word)));
  std::string candidate;
  const char* why = nullptr;
  if (parenthesis != nullptr) {
    candidate.assign(word, parenthesis + 1);
    why = "keywords are written in small letters";
  } else {
    candidate.assign(word, end);
    candidate += '(';
    const char* after = end;
    while (*after == ' ' || *after == '\t') ++after;
    why = *after == '(' ? "no blank may stand between a keyword and its \"(\""
                        : "a keyword ends with its \"(\"";
  }
  bool caseOnly = false;
  const ScriptKeyword* keyword = KeywordLike(candidate, caseOnly);
  if (keyword == nullptr) return "";
  const std::string quoted = QuotedName(keyword->Text);
  // With the parenthesis in place, only the letters' case can be what differs.
  if (caseOnly && (parenthesis == nullptr || candidate != keyword->Text)) {
    return std::string("; ") + why + ": " + quoted;
  }
  return "; did you mean " + quoted + "?";
}

}  // namespace

void ScriptEngine::NoteSkippedWord(const char* word, const char* end, bool afterSkippedWord) {
  // The arguments of a misspelt keyword are skipped as words of their own; the keyword says it.
  if (afterSkippedWord && !IsAsciiLetter(*word)) return;
  std::string written(word, std::min(static_cast<size_t>(end - word), kShownWordBytes));
  if (static_cast<size_t>(end - word) > kShownWordBytes) written += "...";
  Problems_->Add(ProblemKind::UnknownWord,
                 QuotedName(written) + " is no keyword and is skipped" + KeywordHint(word, end),
                 word);
}

void ScriptEngine::NoteObjectTarget(const char* at, int32_t number) {
  if (number < 0) {
    Problems_->Add(ProblemKind::NoSuchTarget, "no object number after \"#\"", at);
  } else if (number >= kCellTargetBit) {
    Problems_->Add(ProblemKind::NoSuchTarget,
                   "object number " + std::to_string(number) + " is past the largest one, 32767",
                   at);
  } else {
    const std::string object = std::to_string(number);
    Problems_->AddUnlessObjectAppears(number, "#" + object + ": no cel line names object " + object,
                                      at);
  }
}

void ScriptEngine::NoteCelTarget(const char* at, const char* name) {
  if (name == nullptr) {
    Problems_->Add(ProblemKind::NoSuchTarget, "the target is missing", at);
    return;
  }
  const std::string read = QuotedName(name);
  if (*at != '"') {
    Problems_->Add(ProblemKind::NoSuchTarget,
                   "a target is \"#\" and an object number or a cel name in double quotes; this "
                   "one reads as the cel name " +
                       read,
                   at);
    return;
  }
  std::string detail = "no cel " + read + " above this line";
  if (std::strlen(name) >= kTokenLength) detail += " (names are cut to 19 bytes)";
  Problems_->Add(ProblemKind::NoSuchTarget, detail, at);
}

// "set(", "alarm(", "changeset(" and "changecol(" read their number right after the
// parenthesis; anything else there, a blank included, makes it -1, which matches nothing.
void ScriptEngine::NoteMissingNumber(const char* at, int32_t code) {
  const ScriptKeyword* known = KeywordOfCode(code);
  const char* keyword = known != nullptr ? known->Text : "";
  const bool negative = at[0] == '-' && at[1] >= '0' && at[1] <= '9';
  const std::string what = negative ? "a negative number after " + QuotedName(keyword)
                                    : "no number right after " + QuotedName(keyword) + ", found " +
                                          DescribeLineByte(*at);
  Problems_->Add(ProblemKind::BadNumber,
                 what + (IsEventCode(code) ? ": the event never happens"
                                           : ": the action gets no valid number"),
                 at);
}

void ScriptEngine::NoteDroppedRecord(const char* at, const ScriptKeyword& keyword) {
  Problems_->Add(ProblemKind::StoreFull,
                 "the " + QuotedName(keyword.Text) + " action is dropped: the script store of " +
                     std::to_string(kActionStoreSize) + " bytes is full",
                 at);
}

}  // namespace tavro
