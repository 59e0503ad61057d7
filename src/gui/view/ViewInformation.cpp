// Help > Information and Option > Adjust Object, as the view runs them.
#include "gui/view/CTavroView.h"

namespace tavro {

void CTavroView::ShowInformation() {
  // An empty caption shows the application title.
  Doc.host().ShowMessage(Doc.InformationText(), std::string(), MessageIcon::None);
}

void CTavroView::AdjustObjects() {
  // The document raises the current set's "set(" and repaints the whole picture itself.
  Doc.AdjustObjects();
  ScheduleTimerPass();
}

}  // namespace tavro
