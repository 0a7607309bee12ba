// Every window message the component defines, in one place: those it sends the terminal when an
// item is chosen, and the private ones between the manager and the pop-up's windows. The data
// centre's skin broadcast belongs to the data centre (DataMgr.h); the edit's and the list's
// WM_NOTIFY codes sit with their payloads (window/InputEdit.h, window/SuggestListWnd.h).
#pragma once

#include "platform/WinTypes.h"

// --- To the terminal, when an item is chosen. ---

// Sent to a frame element that asked for a security; lParam: an _ELEMENT_EVENT_INFO package.
const UINT WM_ELEMENT_EVENT = 0x503;
// Posted to a window that asked for a security; lParam: a _STOCK_DEFINE package.
const UINT WM_STOCK_SELECTED = 0x500;
// Posted to the command window: wParam the item's extra information (a command number), lParam
// the item's attached object, if any.
const UINT WM_RUN_COMMAND = 0x51C;
// Posted to the command window after a pick from a pop-up opened at an exact position, with
// wParam 0 and lParam COMMAND_FROM_POPUP_PARAM.
const UINT WM_COMMAND_FROM_POPUP = 0x601;
const LPARAM COMMAND_FROM_POPUP_PARAM = 5;

// --- Private. ---

// Manager to pop-up: the terminal saw a click elsewhere; hide.
const UINT WM_SMARTKEYBOARD_HIDE = 0x7900;
// Sent by the list to itself: activate the selected row.
const UINT WM_SUGGEST_ACTIVATE = 0x6401;
// Posted by the list to itself: write the history file after the current message.
const UINT WM_SUGGEST_SAVEHISTORY = 0x0A00;
