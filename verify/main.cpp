// The verifying window: starts the libraries, builds the window, takes the file named on the
// command line and runs the event loop until the window is closed.
#include <windows.h>

#include "digest/register_digest_plugins.h"
#include "runtime/main_heap.h"
#include "toolkit/drop_support.h"
#include "toolkit/event_queue.h"
#include "toolkit/gadgets.h"
#include "toolkit/message_pump.h"
#include "toolkit/numbered_window.h"
#include "toolkit/open_file_dialog.h"
#include "verify/check_run.h"
#include "verify/verify_controller.h"
#include "verify/verify_window.h"

namespace {

constexpr UINT EXIT_CLOSED = 0;
constexpr UINT EXIT_NO_WINDOW = 1;

void StartLibraries() {
  StartMainHeap();
  StartEventSystem();
  StartWindows();
  StartGadgets();
  StartDropSupport();
  InitFileDialogs();
  RegisterDigestPlugins();
}

void StopLibraries() {
  StopDropSupport();
  StopGadgets();
  StopWindows();
  StopEventSystem();
  StopMainHeap();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  StartLibraries();
  if (!BuildVerifyWindow()) {
    StopLibraries();
    ExitProcess(EXIT_NO_WINDOW);
  }
  RunVerifyWindow();
  // A run still waiting on a read that does not return may use what the libraries hold: the
  // process ends without stopping them, and ends the run with it.
  if (AllRunsEnded()) StopLibraries();
  ExitProcess(EXIT_CLOSED);
}
