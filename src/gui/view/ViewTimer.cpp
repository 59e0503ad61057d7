// The view's side of the script alarms: one single-shot timer, armed for the moment the next
// timer pass has something to do.
//
// A pass that fires nothing costs nothing but a wakeup, so the timer sleeps until the earliest
// armed slot is due, or runs at once while the map is dirty, and is stopped when no slot is
// armed: an idle window does not wake at all. Passes also run inside the modal loop of a
// "debug(" box opened by an alarm; the document keeps such nested passes safe, and the host
// re-arms this timer before the box's loop starts.
#include "gui/view/CTavroView.h"

namespace tavro {

void CTavroView::ScheduleTimerPass() {
  const int32_t delay = session_.NextTimerPassDelay(session_.Outside().TickCount());
  if (delay == CTavroDoc::kNoTimerPass) {
    passTimer_.stop();
    return;
  }
  passTimer_.start(delay);
}

// The pass reads the clock when it runs: it may have waited in a message box for a long time.
void CTavroView::RunTimerPass() { Apply(session_.RunTimerPass(session_.Outside().TickCount())); }

}  // namespace tavro
