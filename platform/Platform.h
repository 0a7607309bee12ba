// What the core takes from the operating system. One Win32 and one POSIX implementation;
// nothing else in the core calls the operating system directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "WinTypes.h"

namespace plat {

// --- The table lock: an auto-reset event. ---
// Created non-signalled (null on failure); the creator sets it once to make the lock free.
HANDLE CreateLockEvent();
// Waits without time-out; false when the wait did not end with the event signalled.
bool WaitLockEvent(HANDLE event);
bool SetLockEvent(HANDLE event);
void CloseLockEvent(HANDLE event);

// --- Threads and time. ---
typedef unsigned (*ThreadProc)(void* arg);
// Starts a detached worker at normal priority with the default stack; false if it could not start.
bool StartWorkerThread(ThreadProc proc, void* arg);
uint32_t TickCount();  // milliseconds, wraps like GetTickCount
void SleepMs(uint32_t ms);

// --- Memory. ---
// Asks that the whole large pages inside a block just allocated and not yet touched be backed by
// large pages where the system offers them on request (Linux transparent huge pages): filling a
// hundred megabytes a 4 KB page at a time costs a page fault each, which on a virtual machine is
// more than the work done in them. Does nothing for a small block or where it is not offered.
void AdviseLargePages(void* block, size_t size);

// --- Characters and strings. ---
// Upper-cases one character by the platform's rule (CharUpperW on Windows).
wchar_t UpperChar(wchar_t c);
// Case-insensitive comparisons used by the table: StrCmpIW, StrCmpNIW and _wcsicmp on Windows;
// elsewhere an ordinal comparison of the upper-cased characters.
int CompareNoCase(const wchar_t* a, const wchar_t* b);
int CompareNoCaseN(const wchar_t* a, const wchar_t* b, int count);
int CompareOrdinalNoCase(const wchar_t* a, const wchar_t* b);
// Converts to the thread's ANSI code page into out (always terminated); false if it did not fit.
bool ToAnsi(const wchar_t* text, char* out, size_t outSize);

// --- User interface. ---
// The plain OK message box; without a window system the text goes to standard error.
void ShowMessageBox(const wchar_t* text);
bool IsWindowHandle(HWND wnd);
bool PostWindowMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// --- Files. ---
std::wstring ModuleDirectory();  // folder of the module that holds the component, no trailing slash
// Folder of the process's executable (not of the component); empty when it cannot be told.
std::wstring ProcessDirectory();
// A path in UTF-8, as POSIX file systems take it.
std::string Utf8Path(const wchar_t* path);
bool FileExists(const wchar_t* path);
bool DeleteFileAt(const wchar_t* path);

}  // namespace plat
