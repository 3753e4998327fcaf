#include "verify/verify_controller.h"

#include "toolkit/dropped_files.h"
#include "toolkit/event_queue.h"
#include "toolkit/message_pump.h"
#include "verify/verify_window.h"

namespace {

const wchar_t BOTH_ROADS[] =
    L"Open or drop a sums file to check the files it lists, or choose a file and paste its "
    L"published digest.";

}  // namespace

void RunVerifyWindow() {
  ShowVerdict({BOTH_ROADS, Text(), VerdictColour::NEUTRAL});
  for (;;) {
    const int64_t event = WaitForEvent(-1);
    if (event == EVENT_CLOSE_WINDOW) return;
    if (event == EVENT_WINDOW_SIZED) LayOutVerifyWindow();
  }
}
