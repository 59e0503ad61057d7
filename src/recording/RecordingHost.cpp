#include "recording/RecordingHost.h"

namespace tavro {

MapRect RecordingHost::TakeRepaints() {
  const MapRect area = Repaints;
  Repaints = {};
  return area;
}

bool RecordingHost::TakeWholeView() {
  const bool whole = WholeView;
  WholeView = false;
  return whole;
}

void RecordingHost::ShowMessage(const std::string& text, const std::string& caption,
                                MessageIcon icon) {
  if (MessagesGo == Messages::PassOn) Outside.ShowMessage(text, caption, icon);
}

}  // namespace tavro
