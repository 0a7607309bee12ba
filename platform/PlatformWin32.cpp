// The platform seam on Windows: thin calls into the kernel, user and shell libraries.
#include "Platform.h"
#include "Utf8.h"

#include <process.h>
#include <shlwapi.h>
#include <wchar.h>

#include <new>

namespace plat {

HANDLE CreateLockEvent() { return CreateEventW(nullptr, FALSE, FALSE, nullptr); }

bool WaitLockEvent(HANDLE event) { return WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0; }

bool SetLockEvent(HANDLE event) { return SetEvent(event) != FALSE; }

void CloseLockEvent(HANDLE event) {
  if (event) CloseHandle(event);
}

namespace {

struct ThreadStart {
  ThreadProc proc;
  void* arg;
};

unsigned __stdcall RunThread(void* param) {
  ThreadStart start = *static_cast<ThreadStart*>(param);
  delete static_cast<ThreadStart*>(param);
  return start.proc(start.arg);
}

}  // namespace

bool StartWorkerThread(ThreadProc proc, void* arg) {
  ThreadStart* start = new (std::nothrow) ThreadStart{proc, arg};
  if (!start) return false;
  uintptr_t thread = _beginthreadex(nullptr, 0, RunThread, start, 0, nullptr);
  if (thread == 0) {
    delete start;
    return false;
  }
  // Detached: nobody joins the worker, so its handle is not kept.
  CloseHandle(reinterpret_cast<HANDLE>(thread));
  return true;
}

// Large pages on Windows need a privilege the terminal's users do not hold, and memory of their
// own (VirtualAlloc with MEM_LARGE_PAGES), never a heap block.
void AdviseLargePages(void* block, size_t size) {
  (void)block;
  (void)size;
}

uint32_t TickCount() { return GetTickCount(); }

void SleepMs(uint32_t ms) { Sleep(ms); }

wchar_t UpperChar(wchar_t c) {
  // With a high word of zero CharUpperW converts the one character held in the low word.
  uintptr_t single = static_cast<unsigned short>(c);
  LPWSTR result = CharUpperW(reinterpret_cast<LPWSTR>(single));
  return static_cast<wchar_t>(reinterpret_cast<uintptr_t>(result));
}

int CompareNoCase(const wchar_t* a, const wchar_t* b) { return StrCmpIW(a, b); }

// StrCmpNIW's comparison, with each text cut at its end: a count past the end of one text must
// not read what lies beyond it (Wine's shlwapi does).
int CompareNoCaseN(const wchar_t* a, const wchar_t* b, int count) {
  if (count <= 0) return 0;
  int lengthA = 0, lengthB = 0;
  while (lengthA < count && a[lengthA]) ++lengthA;
  while (lengthB < count && b[lengthB]) ++lengthB;
  return CompareStringW(GetThreadLocale(), NORM_IGNORECASE, a, lengthA, b, lengthB) - CSTR_EQUAL;
}

int CompareOrdinalNoCase(const wchar_t* a, const wchar_t* b) { return _wcsicmp(a, b); }

bool ToAnsi(const wchar_t* text, char* out, size_t outSize) {
  if (!out || outSize == 0) return false;
  out[0] = 0;
  if (!text) return true;
  int size = outSize > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(outSize);
  int written = WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, out, size, nullptr, nullptr);
  if (written == 0) {
    // Too small: keep what fitted, terminated.
    out[outSize - 1] = 0;
    return false;
  }
  return true;
}

void ShowMessageBox(const wchar_t* text) { MessageBoxW(nullptr, text, L"", MB_OK); }

bool IsWindowHandle(HWND wnd) { return wnd != nullptr && IsWindow(wnd) != FALSE; }

bool PostWindowMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageW(wnd, message, wParam, lParam) != FALSE;
}

std::wstring ModuleDirectory() {
  // The module that holds this code: the component DLL, or the program it is linked into.
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&ModuleDirectory), &module))
    module = nullptr;
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring ProcessDirectory() {
  wchar_t path[MAX_PATH] = {};
  if (GetModuleFileNameW(nullptr, path, MAX_PATH) == 0) return std::wstring();
  // A bare name has nothing to remove: the folder is then empty.
  if (!PathRemoveFileSpecW(path)) return std::wstring();
  return path;
}

std::string Utf8Path(const wchar_t* path) { return WideToUtf8(path); }

bool FileExists(const wchar_t* path) { return path && PathFileExistsW(path) != FALSE; }

bool DeleteFileAt(const wchar_t* path) { return path && DeleteFileW(path) != FALSE; }

}  // namespace plat
