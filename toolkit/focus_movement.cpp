#include "toolkit/focus_movement.h"

#include <cwchar>

#include "toolkit/toolkit_names.h"

namespace {

constexpr LRESULT CUES_HIDDEN_MASK = UISF_HIDEFOCUS | UISF_HIDEACCEL;
constexpr LONG_PTR COMBO_BOX_EX_COMPOSITE = 0x1;
constexpr int CLASS_NAME_LENGTH = 64;

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t className[CLASS_NAME_LENGTH] = {};
  GetClassNameW(window, className, CLASS_NAME_LENGTH);
  return wcscmp(className, name) == 0;
}

// Where the focus stands: the root whose controls take turns and the current stop, with a
// composite control (an IP-address box, a combo box with an edit) counted as one stop.
void FindFocusPosition(HWND* root, HWND* current) {
  *root = GetActiveWindow();
  HWND focus = GetFocus();
  *current = focus && *root && IsChild(*root, focus) ? focus : nullptr;
  for (HWND window = *current; window && window != *root; window = GetParent(window)) {
    if (HasClass(window, MDI_CHILD_CLASS)) {
      *root = window;
      if (window == focus) *current = nullptr;
      break;
    }
    if (HasClass(window, IP_ADDRESS_CLASS)) *current = window;
    if (HasClass(window, COMBO_BOX_EX_CLASS) &&
        (GetWindowLongPtrW(window, GWL_STYLE) & COMBO_BOX_EX_COMPOSITE)) {
      *current = window;
    }
  }
}

struct Candidates {
  HWND current;
  HWND first;
  HWND last;
  HWND beforeCurrent;
  HWND afterCurrent;
  bool currentIsCandidate;
};

bool IsCandidate(HWND window) {
  return IsWindowEnabled(window) && IsWindowVisible(window) &&
         (GetWindowLongPtrW(window, GWL_STYLE) & WS_TABSTOP);
}

BOOL CALLBACK CollectCandidate(HWND window, LPARAM context) {
  auto* candidates = reinterpret_cast<Candidates*>(context);
  if (!IsCandidate(window)) return TRUE;
  if (!candidates->first) candidates->first = window;
  if (candidates->currentIsCandidate && !candidates->afterCurrent &&
      candidates->last == candidates->current) {
    candidates->afterCurrent = window;
  }
  if (window == candidates->current) {
    candidates->currentIsCandidate = true;
    candidates->beforeCurrent = candidates->last;
  }
  candidates->last = window;
  return TRUE;
}

Candidates CollectCandidates(HWND root, HWND current) {
  Candidates candidates = {};
  candidates.current = current;
  if (root) EnumChildWindows(root, CollectCandidate, reinterpret_cast<LPARAM>(&candidates));
  return candidates;
}

void FocusIfAny(HWND window) {
  if (window) SetFocus(window);
}

}  // namespace

void MoveFocusForward() {
  HWND root, current;
  FindFocusPosition(&root, &current);
  Candidates candidates = CollectCandidates(root, current);
  if (!current) {
    FocusIfAny(candidates.first);
  } else if (candidates.currentIsCandidate) {
    FocusIfAny(candidates.afterCurrent ? candidates.afterCurrent : candidates.first);
  }
}

void MoveFocusBackward() {
  HWND root, current;
  FindFocusPosition(&root, &current);
  Candidates candidates = CollectCandidates(root, current);
  bool fromFirst = candidates.currentIsCandidate && !candidates.beforeCurrent;
  if (!current || !candidates.currentIsCandidate || fromFirst) {
    FocusIfAny(candidates.last);
  } else {
    FocusIfAny(candidates.beforeCurrent);
  }
}

void ShowFocusCues(HWND window) {
  LRESULT state = SendMessageW(window, WM_QUERYUISTATE, 0, 0);
  if (state & CUES_HIDDEN_MASK) {
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),
                 0);
  }
}

void HideFocusCues(HWND window) {
  LRESULT state = SendMessageW(window, WM_QUERYUISTATE, 0, 0);
  if ((state & CUES_HIDDEN_MASK) != CUES_HIDDEN_MASK) {
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  }
}
