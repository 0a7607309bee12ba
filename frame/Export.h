// Symbol visibility across the two Windows modules: the component (HotKeyManagerFactory.dll)
// and the terminal services (TerminalServices.dll). Native builds link statically: both empty.
#pragma once

#if defined(_WIN32) && !defined(HKM_STATIC)
#ifdef HKM_BUILDING_COMPONENT
#define HKM_API __declspec(dllexport)
#else
#define HKM_API __declspec(dllimport)
#endif
#ifdef TS_BUILDING_SERVICES
#define TS_API __declspec(dllexport)
#else
#define TS_API __declspec(dllimport)
#endif
#else
#define HKM_API
#define TS_API
#endif
