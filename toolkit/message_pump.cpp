// The wait for events: a queued event first, else at most one system message, translated through
// the accelerators of the active window when it is one of the toolkit's and dispatched. It sits
// above the queue and the windows, which the queue itself knows nothing of.
#include "toolkit/message_pump.h"

#include <richedit.h>

#include <cwchar>

#include "toolkit/event_queue.h"
#include "toolkit/focus_movement.h"
#include "toolkit/numbered_window.h"
#include "toolkit/toolkit_names.h"

namespace {

// Keys, mouse, raw input, posted, sent, timer, paint and hot-key messages. Spelled out because
// the headers' QS_ALLINPUT also takes in touch and pointer input for newer systems.
constexpr DWORD WAKE_ON_ANY_MESSAGE = QS_KEY | QS_MOUSE | QS_RAWINPUT | QS_POSTMESSAGE | QS_TIMER |
                                      QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY | QS_ALLPOSTMESSAGE;
static_assert(WAKE_ON_ANY_MESSAGE == 0x5FF);
// Rich-edit classes ("RichEdit20W", "RICHEDIT50W", ...) are told by the start of their name.
constexpr const wchar_t* RICH_EDIT_PREFIX = L"RichE";
constexpr size_t RICH_EDIT_PREFIX_LENGTH = 5;
constexpr const wchar_t* RICH_EDIT_UPPER_PREFIX = L"RICH";
constexpr size_t RICH_EDIT_UPPER_PREFIX_LENGTH = 4;

bool KeyDown(int virtualKey) {
  return GetKeyState(virtualKey) < 0;
}

bool ModifierDown() {
  return KeyDown(VK_CONTROL) || KeyDown(VK_SHIFT) || KeyDown(VK_MENU);
}

// An editable rich-edit control takes Tab itself.
bool IsEditableRichEditUnderTab(HWND focus) {
  if (!focus || !KeyDown(VK_TAB) || ModifierDown()) return false;
  wchar_t className[16] = {};
  GetClassNameW(focus, className, 16);
  if (wcsncmp(className, RICH_EDIT_PREFIX, RICH_EDIT_PREFIX_LENGTH) != 0 &&
      wcsncmp(className, RICH_EDIT_UPPER_PREFIX, RICH_EDIT_UPPER_PREFIX_LENGTH) != 0) {
    return false;
  }
  return !(SendMessageW(focus, EM_GETOPTIONS, 0, 0) & ECO_READONLY);
}

HACCEL ChooseAcceleratorTable(HWND active) {
  HWND focus = GetFocus();
  if (IsEditableRichEditUnderTab(focus)) return nullptr;
  if (active && ModifierDown()) ShowFocusCues(active);
  if (focus && GetPropW(focus, PROPERTY_HOTKEY)) return nullptr;
  if (!active) return nullptr;
  auto id = reinterpret_cast<intptr_t>(GetPropW(active, PROPERTY_WINDOW_ID));
  if (!id) return nullptr;
  DWORD process = 0;
  GetWindowThreadProcessId(active, &process);
  if (process != GetCurrentProcessId()) return nullptr;
  auto* record = static_cast<WindowRecord*>(LookupObject(WindowTable(), id - 1));
  return record ? record->acceleratorTable : nullptr;
}

// At most one system message; false when there was none within the timeout.
bool FetchMessage(int32_t timeout, MSG* message) {
  if (timeout == -1) return GetMessageW(message, nullptr, 0, 0) != -1;
  if (PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return true;
  if (timeout == 0) return false;
  DWORD woken = MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeout),
                                          WAKE_ON_ANY_MESSAGE);
  if (woken == WAIT_TIMEOUT) return false;
  return PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD);
}

void HandleMessage(MSG* message) {
  HWND active = GetActiveWindow();
  HACCEL table = ChooseAcceleratorTable(active);
  if (table && TranslateAcceleratorW(active, table, message)) {
    if (active) ShowFocusCues(active);
    return;
  }
  TranslateMessage(message);
  DispatchMessageW(message);
}

}  // namespace

int64_t WaitForEvent(int32_t timeout) {
  if (int32_t kind = NextQueuedEvent()) return kind;
  MSG message;
  if (!FetchMessage(timeout, &message)) return 0;
  HandleMessage(&message);
  return message.message;
}
