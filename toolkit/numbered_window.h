#pragma once
// Numbered top-level windows: one window class per number, a window procedure that turns window
// messages into toolkit events, Tab focus movement, topmost state and caption.
#include <windows.h>

#include <cstdint>

#include "toolkit/object_registry.h"

// Toolkit flags of OpenNumberedWindow; every other bit is a WS_ style passed on unchanged.
constexpr uint32_t WINDOW_CENTER_ON_SCREEN = 0x1;
constexpr uint32_t WINDOW_CENTER_ON_PARENT = 0x2;
constexpr uint32_t WINDOW_TOOL = 0x4;
constexpr uint32_t WINDOW_NO_GADGET_LIST = 0x8;
constexpr uint32_t WINDOW_NO_ACTIVATE = 0x2000000;
constexpr uint32_t WINDOW_HIDDEN = 0x10000000;

// Flags of the form of OpenNumberedWindow without flags: caption and system menu.
constexpr uint32_t WINDOW_DEFAULT_FLAGS = WS_CAPTION | WS_SYSMENU;

// An x (or, without centring, a y) of this value leaves the position to the system.
constexpr int32_t WINDOW_DEFAULT_POSITION = -65535;

// Answer of a message handler that did not take the message: the default processing runs.
constexpr LRESULT NOT_HANDLED = static_cast<LRESULT>(0xFFFFFFFFD0D0D0D1ull);

struct WindowRecord;
using BackgroundPainter = LRESULT (*)(WindowRecord* record, HDC deviceContext);

struct WindowRecord {
  HWND window;              // null: the record is not in use
  ACCEL* accelerators;      // ours, from the main heap
  HACCEL acceleratorTable;  // ours
  int32_t acceleratorCount;
  int32_t reserved1;
  HBRUSH backgroundBrush;  // ours when set; deleted with the window
  HWND mdiClient;          // the MDI client of an MDI child; always null here
  BackgroundPainter paintBackground;
  uint16_t minWidth, minHeight, maxWidth, maxHeight;  // client-area limits, 0 = none
  int32_t minimizedOrMaximized;
  int32_t ready;  // 0 while opening: no move or size events yet
  int32_t reserved3, reserved4;
  int32_t backgroundColourSet;
  int32_t reserved2;
};

// Start after the event system and stop before it; the stop closes every window.
void StartWindows();
void StopWindows();

ObjectTable* WindowTable();

// Width and height are the client area's. Result: the chosen number for ANY_OBJECT, else the
// window handle; 0 on failure.
int64_t OpenNumberedWindow(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                           const wchar_t* title, uint32_t flags, HWND parent = nullptr);
int64_t OpenNumberedWindow(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                           const wchar_t* title);

// The window table's release routine; ANY_OBJECT closes every window.
void CloseNumberedWindow(ObjectNumber number);

HWND WindowHandle(ObjectNumber number);
void SetWindowTopmost(ObjectNumber number, int32_t state);
void SetWindowCaption(ObjectNumber number, const wchar_t* text);

// The number of the toolkit window that holds a window (itself or its first ancestor with
// PROPERTY_WINDOW_ID), or -1.
ObjectNumber EnclosingWindowNumber(HWND window);
