// The frame library's shared state: one value for the terminal and every component.
#include "frame/FrameLib.h"

qxWorkspaceDefine CElementContainerWnd::m_seCurrentFocusWorkspace = qxWorkspaceNone;
