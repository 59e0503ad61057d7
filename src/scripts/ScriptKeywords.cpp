#include <cstring>

#include "scripts/ScriptCodes.h"

namespace tavro {
namespace {

// Searched in this order and the first match wins; the order is part of the script language.
constexpr ScriptKeyword kKeywords[] = {
    {kEventInitialize, "initialize("},
    {kEventBegin, "begin("},
    {kEventCatch, "catch("},
    {kEventFixCatch, "fixcatch("},
    {kEventUnfix, "unfix("},
    {kEventDrop, "drop("},
    {kEventAlarm, "alarm("},
    {kEventEnd, "end("},
    {kEventPress, "press("},
    {kEventRelease, "release("},
    {kEventSet, "set("},
    {kEventFixDrop, "fixdrop("},
    {kActionSound, "sound("},
    {kActionMap, "map("},
    {kActionUnmap, "unmap("},
    {kActionAltmap, "altmap("},
    {kActionDebug, "debug("},
    {kActionTimer, "timer("},
    {kActionRandomTimer, "randomtimer("},
    {kActionMove, "move("},
    {kActionChangeSet, "changeset("},
    {kActionChangeCol, "changecol("},
    {kActionTransparent, "transparent("},
};

}  // namespace

std::span<const ScriptKeyword> ScriptKeywords() { return kKeywords; }

const ScriptKeyword* MatchScriptKeyword(const char* at) {
  for (const ScriptKeyword& keyword : kKeywords) {
    // strncmp stops at the line's terminating zero, so a keyword cut off by the end of the line
    // never matches and nothing past the line is read.
    if (std::strncmp(at, keyword.Text, std::strlen(keyword.Text)) == 0) return &keyword;
  }
  return nullptr;
}

}  // namespace tavro
