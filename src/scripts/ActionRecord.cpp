#include "scripts/ActionRecord.h"

namespace tavro {
namespace {

// 8-bit numbers take one byte, 16-bit ones two, a text its bytes and a zero.
struct ByteCount {
  int32_t operator()(const TextArgument& a) const {
    return static_cast<int32_t>(a.Text.size()) + 1;
  }
  int32_t operator()(const TargetArgument&) const { return 2; }
  int32_t operator()(const NumberArgument&) const { return 1; }
  int32_t operator()(const TimerArguments&) const { return 1 + 2; }
  int32_t operator()(const RandomTimerArguments&) const { return 1 + 2 + 2; }
  int32_t operator()(const MoveArguments&) const { return 2 + 2 + 2; }
  int32_t operator()(const TransparencyArguments&) const { return 2 + 2; }
};

}  // namespace

int32_t ArgumentBytes(const ActionArguments& arguments) {
  return std::visit(ByteCount{}, arguments);
}

}  // namespace tavro
