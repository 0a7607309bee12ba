// Where our time goes inside our handlers: the system calls our modules import (window
// management, painting, messages) are redirected through timing wrappers, and every handler of
// our windows and every such call is a frame on one stack, so that each frame's own time (its
// time less that of the frames inside it) adds up to the whole of our time. Only for the
// benchmark: the timing itself costs, so the figures of a traced run are read for their shares.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace call_trace {

// The performance counter in milliseconds.
double NowMs();

// Redirects the traced imports of the modules named (file names, e.g. "WindowFramework.dll").
// Calls made outside our handlers run untimed.
void Install(const wchar_t* const* moduleNames, int count);

// A handler of one of our windows begins and ends (the window framework's handler probe, and
// the view's forwarding with a null window).
void EnterHandler(HWND window, UINT message);
void LeaveHandler();

// Own time in ms by frame name since the last Take, and resets it.
std::map<std::string, double> Take();

// Brackets the window-management calls that wait for the system (showing, placing and
// activating windows, focus and its queries, default processing) made by the modules named, in
// every run, traced or not: `enter` and `leave` run around each. Installed after Install, it
// wraps the traced wrappers, so both see the call.
typedef void (*BracketFn)();
void BracketWindowManagement(const wchar_t* const* moduleNames, int count, BracketFn enter,
                             BracketFn leave);

}  // namespace call_trace
