#include "render/ThumbnailHost.h"

#include <algorithm>

namespace tavro::render {

namespace {

constexpr int kMessagesShown = 20;

}  // namespace

void ThumbnailHost::ShowMessage(const std::string& text, const std::string& caption,
                                MessageIcon icon) {
  if (messagesShown_ >= kMessagesShown) return;
  ++messagesShown_;
  ConsoleHost::ShowMessage(text, caption, icon);
}

bool ThumbnailHost::ChooseConfigFile(const std::vector<std::string>& names, std::string& chosen) {
  if (!configName_.empty()) return ConsoleHost::ChooseConfigFile(names, chosen);
  if (names.empty()) return false;
  chosen = *std::min_element(names.begin(), names.end());
  return true;
}

std::string ThumbnailHost::ProfileString(const std::string& section, const std::string& key) {
  return section == "OPTION" && key == "TMPDIR" ? workDirectory_ : std::string();
}

}  // namespace tavro::render
