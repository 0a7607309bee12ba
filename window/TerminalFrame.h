// The terminal's main frame as the pop-up sees it: the view manager behind the environment's
// main-frame handle and its current view.
#pragma once

#include "frame/FrameLib.h"
#include "frame/GlobalEnv.h"

class CWnd;

// The frame's view manager, looked up in the terminal's application state; null without one.
CViewManager* TerminalViewManager(CGlobalEnv* env);
// The second view when there is one, else the first; may be null.
CWnd* CurrentView(CViewManager* frame);
