#include <cstring>

#include "scripts/ActionHandlers.h"
#include "scripts/ScriptCodes.h"

namespace tavro {
namespace {

// Searched in this order and the first match wins; the order is part of the script language.
using L = ArgumentLayout;
using H = ActionHandlers;
constexpr ScriptKeyword kKeywords[] = {
    {kEventInitialize, "initialize(", L::None, nullptr},
    {kEventBegin, "begin(", L::None, nullptr},
    {kEventCatch, "catch(", L::Target, nullptr},
    {kEventFixCatch, "fixcatch(", L::Target, nullptr},
    {kEventUnfix, "unfix(", L::Target, nullptr},
    {kEventDrop, "drop(", L::Target, nullptr},
    {kEventAlarm, "alarm(", L::Number, nullptr},
    {kEventEnd, "end(", L::None, nullptr},
    {kEventPress, "press(", L::Target, nullptr},
    {kEventRelease, "release(", L::Target, nullptr},
    {kEventSet, "set(", L::Number, nullptr},
    {kEventFixDrop, "fixdrop(", L::Target, nullptr},
    {kActionSound, "sound(", L::Text, &H::Sound},
    {kActionMap, "map(", L::Target, &H::Map},
    {kActionUnmap, "unmap(", L::Target, &H::Unmap},
    {kActionAltmap, "altmap(", L::Target, &H::Altmap},
    {kActionDebug, "debug(", L::Text, &H::Debug},
    {kActionTimer, "timer(", L::SlotDelay, &H::Timer},
    {kActionRandomTimer, "randomtimer(", L::SlotDelayRange, &H::RandomTimer},
    {kActionMove, "move(", L::TargetDistance, &H::Move},
    {kActionChangeSet, "changeset(", L::Number, &H::ChangeSet},
    {kActionChangeCol, "changecol(", L::Number, &H::ChangeCol},
    {kActionTransparent, "transparent(", L::TargetAmount, &H::Transparent},
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

const ScriptKeyword* KeywordOfCode(int32_t code) {
  for (const ScriptKeyword& keyword : kKeywords) {
    if (keyword.Code == code) return &keyword;
  }
  return nullptr;
}

}  // namespace tavro
