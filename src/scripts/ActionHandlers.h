// What each action does when its event happens; the keyword table names these, and they reach
// the engine's own steps as its friend.
#pragma once

namespace tavro {

class ScriptEngine;
struct ActionRecord;

struct ActionHandlers {
  static void Sound(ScriptEngine& engine, const ActionRecord& record);
  static void Map(ScriptEngine& engine, const ActionRecord& record);
  static void Unmap(ScriptEngine& engine, const ActionRecord& record);
  static void Altmap(ScriptEngine& engine, const ActionRecord& record);
  static void Debug(ScriptEngine& engine, const ActionRecord& record);
  static void Timer(ScriptEngine& engine, const ActionRecord& record);
  static void RandomTimer(ScriptEngine& engine, const ActionRecord& record);
  static void Move(ScriptEngine& engine, const ActionRecord& record);
  static void ChangeSet(ScriptEngine& engine, const ActionRecord& record);
  static void ChangeCol(ScriptEngine& engine, const ActionRecord& record);
  static void Transparent(ScriptEngine& engine, const ActionRecord& record);
};

}  // namespace tavro
