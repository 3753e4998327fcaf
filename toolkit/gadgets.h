#pragma once
// Gadgets: text fields ("Edit") and push buttons ("Button") in the current gadget-list window,
// each under a number that is both its control identifier and its "ZQ_ID".
#include <windows.h>

#include <cstdint>

#include "toolkit/object_registry.h"

struct GadgetRecord;

struct GadgetKind {
  int32_t kindId;
  int32_t kindSize;
  // Answers NOT_HANDLED for a message the gadget does not take.
  LRESULT(*onParentMessage)
  (GadgetRecord* record, HWND parent, UINT message, WPARAM wParam, LPARAM lParam);
  void (*releaseResources)(GadgetRecord* record);
  void (*setText)(GadgetRecord* record, const wchar_t* text);
};

constexpr int32_t GADGET_KIND_BUTTON = 1;
constexpr int32_t GADGET_KIND_TEXT_FIELD = 2;

struct GadgetRecord {
  HWND handle;  // null: the number is free
  const GadgetKind* kind;
  WNDPROC previousProcedure;
  int64_t backColour;  // COLORREF, -1 for the system's
  int64_t textColour;  // COLORREF, -1 for the system's
  HBRUSH backBrush;    // ours, null while the default applies
};

constexpr int64_t DEFAULT_COLOUR = -1;

// Text field flags are edit styles (1 is ES_CENTER); this one also drops the sunken edge.
constexpr uint32_t TEXT_FIELD_BORDERLESS = 0x20000;

// Run once after StartWindows and before OLE; StopGadgets before StopWindows.
void StartGadgets();
void StopGadgets();

ObjectTable* GadgetTable();

// Result: the chosen number for ANY_OBJECT, else the control's handle; 0 when the control cannot
// be made (no current gadget-list window, say). A gadget of the same number is replaced only
// once the new control exists.
int64_t CreateTextField(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                        const wchar_t* text, uint32_t flags = 0);
int64_t CreateButton(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                     const wchar_t* text, uint32_t flags = 0);

// Sets the text without raising an event; null is the empty text.
void ChangeGadgetText(ObjectNumber number, const wchar_t* text);

// The gadget table's release routine; ANY_OBJECT destroys every gadget.
void DestroyGadget(ObjectNumber number);

// Ties a made control to its number and record; used by every kind of gadget.
int64_t RegisterGadget(ObjectNumber number, GadgetRecord* record, HWND control,
                       const GadgetKind* kind);

// Hands a parent-window message about a control to its gadget kind; NOT_HANDLED when the control
// is no gadget of this toolkit or its kind does not take the message.
LRESULT PassToGadgetKind(HWND control, HWND parent, UINT message, WPARAM wParam, LPARAM lParam);
