// The null host for tests: records what the core played and told its notices, and keeps the
// messages an open or a load returned where a window would have shown them. Time stands still
// unless a test moves it (Tick).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/CTavroDoc.h"
#include "platform/Host.h"

namespace tavro::test {

class FakeHost : public NullHost {
 public:
  // "debug(" texts as they came, and the messages of results handed to Show, in order.
  std::vector<std::string> Messages;
  std::vector<std::string> Sounds;
  std::vector<MapRect> Repaints;
  int NewSetsShowing = 0;
  int WholeViewInvalidations = 0;

  void PlaySound(const std::string& path) override { Sounds.push_back(path); }
  void NewSetShowing() override { ++NewSetsShowing; }
  void InvalidateWholeView() override { ++WholeViewInvalidations; }
  void RepaintMapRect(const MapRect& rect) override { Repaints.push_back(rect); }
  void ShowDebugText(const std::string& text) override { Messages.push_back(text); }

  void Show(const std::vector<std::string>& texts) {
    Messages.insert(Messages.end(), texts.begin(), texts.end());
  }
  const std::vector<std::string>& MessageTexts() const { return Messages; }
};

// File > Open as the window runs it, with the answers a test gives: Shift held (merge), and the
// name picked when the archive offers several configuration files (empty: the first offered).
// The messages go to the host, then the set starts; `offered` receives the names offered, if any.
inline OpenResult OpenAsWindow(CTavroDoc& doc, FakeHost& host, const std::string& path,
                               bool merge = false, const std::string& pick = {},
                               std::vector<std::string>* offered = nullptr) {
  OpenResult result = doc.OnOpenDocument(path, {merge, {}});
  host.Show(result.Messages);
  if (!result.ConfigChoices.empty()) {
    if (offered != nullptr) *offered = result.ConfigChoices;
    const std::string chosen = pick.empty() ? result.ConfigChoices.front() : pick;
    result = doc.OnOpenDocument(path, {merge, chosen});
    host.Show(result.Messages);
  }
  doc.StartLoadedSet();
  return result;
}

}  // namespace tavro::test
