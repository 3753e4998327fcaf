#include "toolkit/status_bar.h"

#include <commctrl.h>

#include <cstring>
#include <cwchar>

#include "runtime/main_heap.h"
#include "toolkit/library_state.h"
#include "toolkit/scoped_handles.h"
#include "toolkit/status_bar_internals.h"
#include "toolkit/toolkit_names.h"
#include "toolkit/visual_styles.h"

namespace {

constexpr int32_t TABLE_GROW_STEP = 16;
constexpr int32_t SECTION_GROWTH = 8;  // the first array's size, and each growth
constexpr UINT STATUS_CONTROL_ID = 0xE404040F;
constexpr DWORD STATUS_CONTROL_STYLE = WS_CHILD | WS_VISIBLE;
constexpr WPARAM STATUS_MIN_HEIGHT = 18;

constexpr const wchar_t* CENTRED_PREFIX = L"\t";
constexpr const wchar_t* RIGHT_PREFIX = L"\t\t";
// Keeps right-aligned text off the themed control's right edge.
constexpr const wchar_t* THEMED_RIGHT_SUFFIX = L"    ";

static_assert(sizeof(StatusBarRecord) == 32, "the table's record size");

struct StatusBarLibrary {
  ObjectTable* table;
  // The bar AppendStatusSection works on, kept by number: an ANY_OBJECT record is freed with
  // its control, and the number then simply names nothing.
  ObjectNumber current;
  bool hasCurrent;
};

StatusBarLibrary* library;

StatusSection* NewSectionArray(int32_t capacity) {
  return static_cast<StatusSection*>(
      AllocateFromMainHeap(static_cast<size_t>(capacity) * sizeof(StatusSection)));
}

// The parent keeps one ParentSizeHook however many bars are made on it.
void HookParent(HWND parent) {
  if (GetPropW(parent, PROPERTY_STATUS_BAR_CALLBACK)) return;
  const LONG_PTR previous =
      SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentSizeHook));
  SetPropW(parent, PROPERTY_STATUS_BAR_CALLBACK, reinterpret_cast<HANDLE>(previous));
}

void HookStatusControl(HWND control) {
  const LONG_PTR previous =
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusWindowHook));
  SetPropW(control, PROPERTY_STATUS_BAR_CALLBACK, reinterpret_cast<HANDLE>(previous));
}

// Tells the parent its own size, which lays the sections out; the parent raises no event for it.
void ResizeWithParent(HWND parent) {
  RECT client{};
  GetClientRect(parent, &client);
  EventSuppression suppression;
  SendMessageW(parent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

bool GrowSections(StatusBarRecord* record) {
  StatusSection* grown = NewSectionArray(record->capacity + SECTION_GROWTH);
  if (!grown) return false;
  std::memcpy(grown, record->sections, static_cast<size_t>(record->count) * sizeof(StatusSection));
  ReleaseToMainHeap(record->sections);
  record->sections = grown;
  record->capacity += SECTION_GROWTH;
  return true;
}

WPARAM DrawingType(int32_t flags) {
  if (flags & STATUS_TEXT_RAISED) return SBT_POPOUT;
  if (flags & STATUS_TEXT_NO_BORDERS) return SBT_NOBORDERS;
  return 0;
}

struct TextDecoration {
  const wchar_t* prefix;  // null: the text goes as it is
  const wchar_t* suffix;
};

TextDecoration DecorationFor(int32_t flags) {
  if (flags & STATUS_TEXT_CENTRED) return {CENTRED_PREFIX, L""};
  if (flags & STATUS_TEXT_RIGHT) {
    return {RIGHT_PREFIX, VisualStylesInUse() ? THEMED_RIGHT_SUFFIX : L""};
  }
  return {nullptr, L""};
}

// Tabs in front of the text align it; right-aligned text keeps clear of a themed control's edge.
void SendSectionText(HWND control, WPARAM sectionAndType, const wchar_t* text, int32_t flags) {
  const TextDecoration decoration = DecorationFor(flags);
  if (!decoration.prefix) {
    SendMessageW(control, SB_SETTEXTW, sectionAndType, reinterpret_cast<LPARAM>(text));
    return;
  }
  const size_t length =
      std::wcslen(decoration.prefix) + std::wcslen(text) + std::wcslen(decoration.suffix);
  MainHeapBlock<wchar_t> decorated((length + 1) * sizeof(wchar_t));
  if (!decorated.Get()) return;
  std::wcscpy(decorated.Get(), decoration.prefix);
  std::wcscat(decorated.Get(), text);
  std::wcscat(decorated.Get(), decoration.suffix);
  SendMessageW(control, SB_SETTEXTW, sectionAndType, reinterpret_cast<LPARAM>(decorated.Get()));
}

}  // namespace

void InitStatusBars() {
  if (library) return;
  library = static_cast<StatusBarLibrary*>(AllocateLibraryState(sizeof(StatusBarLibrary), nullptr));
  if (!library) return;
  library->table = CreateObjectTable(sizeof(StatusBarRecord), TABLE_GROW_STEP, DestroyStatusBar);
}

ObjectTable* StatusBarTable() {
  return library ? library->table : nullptr;
}

StatusBarRecord* FindStatusBar(ObjectNumber number) {
  ObjectTable* table = StatusBarTable();
  return table ? static_cast<StatusBarRecord*>(LookupObject(table, number)) : nullptr;
}

int64_t MakeStatusBar(ObjectNumber number, HWND parent) {
  ProbeVisualStyles();
  ObjectTable* table = StatusBarTable();
  if (!table) return 0;
  auto* record = static_cast<StatusBarRecord*>(ObtainObjectRecord(table, number));
  if (!record) return 0;
  const bool chosenByToolkit = number == ANY_OBJECT;
  if (chosenByToolkit) number = NumberOfAnyRecord(record);
  MainHeapBlock<StatusSection> sections(SECTION_GROWTH * sizeof(StatusSection));
  HWND control = sections.Get()
                     ? CreateStatusWindowW(STATUS_CONTROL_STYLE, nullptr, parent, STATUS_CONTROL_ID)
                     : nullptr;
  if (!control) {
    ReleaseObjectRecord(table, number);
    return 0;
  }
  *record = StatusBarRecord{control, sections.Take(), 0, SECTION_GROWTH, 0, 0};
  HookParent(parent);
  SetStatusBarNumber(parent, number);
  SetStatusBarNumber(control, number);
  HookStatusControl(control);
  SendMessageW(control, SB_SETMINHEIGHT, STATUS_MIN_HEIGHT, 0);
  SendMessageW(control, WM_SIZE, 0, 0);
  library->current = number;
  library->hasCurrent = true;
  ResizeWithParent(parent);
  return chosenByToolkit ? number : reinterpret_cast<int64_t>(control);
}

void AppendStatusSection(int32_t width) {
  if (!library || !library->hasCurrent) return;
  StatusBarRecord* record = FindStatusBar(library->current);
  if (!record || record->count >= MAX_STATUS_SECTIONS) return;
  if (record->count == record->capacity && !GrowSections(record)) return;
  record->sections[record->count].width = width;
  ++record->count;
  LayoutStatusSections(record);
}

void SetStatusSectionText(ObjectNumber number, int32_t section, const wchar_t* text) {
  SetStatusSectionTextWithFlags(number, section, text, 0);
}

void SetStatusSectionTextWithFlags(ObjectNumber number, int32_t section, const wchar_t* text,
                                   int32_t flags) {
  StatusBarRecord* record = FindStatusBar(number);
  // The index shares its word with the drawing type: one outside the bar would change both.
  if (!record || section < 0 || section >= record->count) return;
  if (!text) text = L"";
  const WPARAM type = DrawingType(flags);
  SendSectionText(record->window, static_cast<WPARAM>(section) | type, text, flags);
  if (type == SBT_NOBORDERS) {
    // The control does not repaint the border it no longer draws.
    RECT sectionRect{};
    SendMessageW(record->window, SB_GETRECT, section, reinterpret_cast<LPARAM>(&sectionRect));
    InvalidateRect(record->window, &sectionRect, TRUE);
  }
}

void DestroyStatusBar(ObjectNumber number) {
  if (number == ANY_OBJECT) {
    if (StatusBarTable()) ReleaseAllObjects(StatusBarTable());
    return;
  }
  // The control's hook frees the sections and the number on WM_NCDESTROY.
  if (StatusBarRecord* record = FindStatusBar(number)) DestroyWindow(record->window);
}
