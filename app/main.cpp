// The program: starts every library in order, builds the window, shows the file named on the
// command line, and runs the event loop until the window is closed.
#include <windows.h>

#include "app/checksum_window.h"
#include "app/command_line.h"
#include "digest/register_digest_plugins.h"
#include "runtime/main_heap.h"
#include "toolkit/dpi_scaling.h"
#include "toolkit/drop_support.h"
#include "toolkit/dropped_files.h"
#include "toolkit/event_queue.h"
#include "toolkit/message_pump.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "toolkit/open_file_dialog.h"
#include "toolkit/status_bar.h"

namespace {

constexpr UINT EXIT_CLOSED = 0;
// Without its window the program could never be closed; it would run on unseen.
constexpr UINT EXIT_NO_WINDOW = 1;

// Each library starts before anything that uses it.
void StartLibraries() {
  StartMainHeap();
  StartDpiScaling();
  StartEventSystem();
  StartWindows();
  StartGadgets();
  StartDropSupport();
  StartFileLibrary();
  InitFileDialogs();
  InitStatusBars();
  RegisterDigestPlugins();
}

void StopLibraries() {
  StopDropSupport();
  StopGadgets();
  StopWindows();
  StopEventSystem();
  StopMainHeap();
}

// Asks the system to take back as many of the process's pages as it can.
void TrimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void HandleButton(int64_t gadget) {
  if (gadget == OPEN_FILE_BUTTON) OpenFileFromDialog();
  if (gadget == CLEAR_BUTTON) ClearReport();
}

// Returns when the window is asked to close, from its close button, Alt+F4 or its system menu.
void RunEventLoop() {
  for (;;) {
    TrimWorkingSet();
    const int64_t event = WaitForEvent(1);
    if (event == EVENT_GADGET) HandleButton(CurrentEventGadget());
    if (event == EVENT_CLOSE_WINDOW) return;
    // The dropped names must be read before the next wait releases them.
    if (event == EVENT_WINDOW_DROP) ShowPath(DroppedFilesText());
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  StartLibraries();
  if (!BuildChecksumWindow()) {
    StopLibraries();
    ExitProcess(EXIT_NO_WINDOW);
  }
  ShowPath(NextCommandLineArgument());
  RunEventLoop();
  StopLibraries();
  ExitProcess(EXIT_CLOSED);
}
