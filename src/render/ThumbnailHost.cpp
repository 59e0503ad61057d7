#include "render/ThumbnailHost.h"

#include <algorithm>

namespace tavro::render {

namespace {

constexpr int kMessagesShown = 20;

}  // namespace

void ThumbnailHost::Say(const std::string& text) {
  if (messagesShown_ >= kMessagesShown) return;
  ++messagesShown_;
  ConsoleHost::Say(text);
}

bool ThumbnailHost::ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) {
  if (!configName_.empty()) return ConsoleHost::ChooseConfigFile(names, chosen);
  if (names.empty()) return false;
  chosen = *std::min_element(names.begin(), names.end());
  return true;
}

}  // namespace tavro::render
