#pragma once
// Names the toolkit shares with the system: window properties, class names, registered and
// private message numbers, and command identifiers. Each is declared here once.
#include <windows.h>

// Window properties. "ZQ_WindowID" holds the window's number plus 1 (0: not a toolkit window);
// "ZQ_ID" holds a gadget's number, which is also its control identifier.
constexpr const wchar_t* PROPERTY_WINDOW_ID = L"ZQ_WindowID";
constexpr const wchar_t* PROPERTY_FOCUS = L"ZQ_Focus";
constexpr const wchar_t* PROPERTY_GADGET_STACK_PREFIX = L"ZQ_GadgetStack_";  // + module handle
constexpr const wchar_t* PROPERTY_DROP_ACCEPT = L"ZQ_DropAccept";
constexpr const wchar_t* PROPERTY_HOTKEY = L"ZQ_Hotkey";
constexpr const wchar_t* PROPERTY_MDI_GADGET = L"ZQ_MDI_Gadget";
constexpr const wchar_t* PROPERTY_GADGET_ID = L"ZQ_ID";
constexpr const wchar_t* PROPERTY_STATUS_BAR_CALLBACK = L"zq_statusbar_callback";
constexpr const wchar_t* PROPERTY_STATUS_BAR_ID = L"zq_statusbar_id";

// Window classes: the toolkit's own and the system's it makes or looks for.
constexpr const wchar_t* WINDOW_CLASS_PREFIX = L"WindowClass_";  // + the window's number
constexpr const wchar_t* POST_EVENT_CLASS = L"PostEventClass";
constexpr const wchar_t* EDIT_CLASS = L"Edit";
constexpr const wchar_t* BUTTON_CLASS = L"Button";
constexpr const wchar_t* MDI_CHILD_CLASS = L"MDI_ChildClass";
constexpr const wchar_t* IP_ADDRESS_CLASS = L"SysIPAddress32";
constexpr const wchar_t* COMBO_BOX_EX_CLASS = L"ComboBoxEx32";

// Registered with RegisterWindowMessageW: another thread's way to post a toolkit event.
constexpr const wchar_t* POST_EVENT_MESSAGE_NAME = L"ZQ_PostEventMessage";

// Private messages of toolkit windows.
constexpr UINT MESSAGE_TRAY_ICON = 12501;
constexpr UINT MESSAGE_GADGET_PARENT = 13120;  // handed to the gadget kind like WM_NOTIFY

// Accelerator commands of every toolkit window: Tab and Shift+Tab move the focus.
constexpr WORD COMMAND_FOCUS_NEXT = 64001;
constexpr WORD COMMAND_FOCUS_PREVIOUS = 64002;

// A control with this identifier raises menu events instead of gadget events.
constexpr LONG_PTR MENU_CONTROL_ID = -10000;

// The identifier of a gadget's control once it has been torn down.
constexpr LONG_PTR DESTROYED_CONTROL_ID = -1;
