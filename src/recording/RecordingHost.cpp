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

}  // namespace tavro
