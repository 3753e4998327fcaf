#include "toolkit/gadget_list.h"

#include <string>

#include "runtime/main_heap.h"
#include "toolkit/library_state.h"
#include "toolkit/toolkit_names.h"

namespace {

// A window's saved gadget-list state, hung on it under the gadget-stack property.
struct SavedGadgetList {
  HWND window;
  HWND savedWindow;
  HWND* stack;  // ours while the window is not the current list
  int32_t depth;
  int32_t capacity;
  WNDPROC previousProcedure;
};

GadgetListState* gadgetList;

void InitGadgetList(void* state) {
  auto* list = static_cast<GadgetListState*>(state);
  list->stack = static_cast<HWND*>(AllocateFromMainHeap(GADGET_STACK_CAPACITY * sizeof(HWND)));
  list->capacity = GADGET_STACK_CAPACITY;
}

SavedGadgetList* SavedListOf(HWND window) {
  return static_cast<SavedGadgetList*>(GetPropW(window, GadgetStackPropertyName()));
}

LRESULT CALLBACK GadgetListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SavedGadgetList* saved = SavedListOf(window);
  WNDPROC previous = saved ? saved->previousProcedure : nullptr;
  if (message == WM_NCDESTROY && saved) {
    GadgetListState* list = CurrentGadgetList();
    if (list->window == window) {
      list->window = nullptr;
      list->depth = 0;
    }
    ReleaseToMainHeap(saved->stack);
    ReleaseToMainHeap(saved);
    RemovePropW(window, GadgetStackPropertyName());
  }
  if (!previous) return DefWindowProcW(window, message, wParam, lParam);
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

void SaveCurrentList(GadgetListState* list) {
  SavedGadgetList* saved = SavedListOf(list->window);
  if (!saved) return;
  saved->savedWindow = list->window;
  saved->stack = list->stack;
  saved->depth = list->depth;
  saved->capacity = list->capacity;
  list->stack = nullptr;
}

void RestoreSavedList(GadgetListState* list, SavedGadgetList* saved) {
  ReleaseToMainHeap(list->stack);
  list->stack = saved->stack;
  list->depth = saved->depth;
  list->capacity = saved->capacity;
  saved->stack = nullptr;
}

void StartFreshList(GadgetListState* list, HWND window) {
  if (!list->stack) {
    list->stack = static_cast<HWND*>(AllocateFromMainHeap(GADGET_STACK_CAPACITY * sizeof(HWND)));
  }
  list->depth = 0;
  list->capacity = GADGET_STACK_CAPACITY;
  auto* saved = static_cast<SavedGadgetList*>(AllocateFromMainHeap(sizeof(SavedGadgetList)));
  if (!saved) return;
  saved->window = window;
  SetPropW(window, GadgetStackPropertyName(), saved);
  saved->previousProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GadgetListProcedure)));
}

}  // namespace

GadgetListState* CurrentGadgetList() {
  if (!gadgetList) {
    gadgetList = static_cast<GadgetListState*>(
        AllocateLibraryState(sizeof(GadgetListState), InitGadgetList));
  }
  return gadgetList;
}

HWND MakeCurrentGadgetList(HWND window) {
  GadgetListState* list = CurrentGadgetList();
  HWND previous = list->window;
  if (previous) SaveCurrentList(list);
  if (SavedGadgetList* saved = SavedListOf(window)) {
    RestoreSavedList(list, saved);
  } else {
    StartFreshList(list, window);
  }
  list->window = window;
  list->changed = 0;
  return previous;
}

const wchar_t* GadgetStackPropertyName() {
  static const std::wstring name =
      PROPERTY_GADGET_STACK_PREFIX +
      std::to_wstring(reinterpret_cast<intptr_t>(GetModuleHandleW(nullptr)));
  return name.c_str();
}
