// Symbol visibility of the window framework (WindowFramework.dll): one copy of the framework, and
// so one handle map, serves the terminal and every component it loads.
#pragma once

#ifdef WFC_BUILDING
#define WFC_API __declspec(dllexport)
#else
#define WFC_API __declspec(dllimport)
#endif
