// POSIX side of the seam. There is no window system here: window calls report that no window
// exists, so callers take their failure path.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <dlfcn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "Platform.h"
#include "Utf8.h"

namespace plat {

namespace {

struct AutoResetEvent {
  std::mutex mutex;
  std::condition_variable signal;
  bool signalled = false;
};

}  // namespace

HANDLE CreateLockEvent() { return new (std::nothrow) AutoResetEvent; }

bool WaitLockEvent(HANDLE event) {
  if (!event) return false;
  auto* e = static_cast<AutoResetEvent*>(event);
  std::unique_lock<std::mutex> guard(e->mutex);
  e->signal.wait(guard, [e] { return e->signalled; });
  e->signalled = false;
  return true;
}

bool SetLockEvent(HANDLE event) {
  if (!event) return false;
  auto* e = static_cast<AutoResetEvent*>(event);
  // Notified under the mutex: a woken waiter may close the event as soon as it is released.
  std::lock_guard<std::mutex> guard(e->mutex);
  e->signalled = true;
  e->signal.notify_one();
  return true;
}

void CloseLockEvent(HANDLE event) { delete static_cast<AutoResetEvent*>(event); }

bool StartWorkerThread(ThreadProc proc, void* arg) {
  try {
    std::thread([proc, arg] { proc(arg); }).detach();
    return true;
  } catch (...) {
    return false;
  }
}

void AdviseLargePages(void* block, size_t size) {
#ifdef MADV_HUGEPAGE
  const uintptr_t kLargePage = uintptr_t(2) << 20;
  if (!block || size < 2 * kLargePage) return;
  const uintptr_t begin = reinterpret_cast<uintptr_t>(block);
  const uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t last = (begin + size) & ~(kLargePage - 1);
  // Refused where huge pages are not offered: the block stays as it is.
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)block;
  (void)size;
#endif
}

uint32_t TickCount() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                               static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Unicode simple upper-case mapping for the scripts a trader types: ASCII, Latin-1, Latin
// Extended-A, Greek, Cyrillic and the full-width forms.
wchar_t UpperChar(wchar_t c) {
  uint32_t u = static_cast<uint32_t>(c);
  if (u >= 'a' && u <= 'z') return static_cast<wchar_t>(u - 0x20);
  if (u < 0xB5) return c;
  if (u == 0xB5) return static_cast<wchar_t>(0x39C);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<wchar_t>(u - 0x20);
  if (u == 0xFF) return static_cast<wchar_t>(0x178);
  if (u >= 0x100 && u <= 0x17F) {
    bool oddLower = (u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E);
    if (u == 0x131) return static_cast<wchar_t>('I');
    if (u == 0x138 || u == 0x149) return c;
    if (u == 0x17F) return static_cast<wchar_t>('S');
    if (oddLower ? (u % 2 == 0) : (u % 2 == 1)) return static_cast<wchar_t>(u - 1);
    return c;
  }
  if (u >= 0x3B1 && u <= 0x3C9 && u != 0x3C2) return static_cast<wchar_t>(u - 0x20);
  if (u == 0x3C2) return static_cast<wchar_t>(0x3A3);
  if (u >= 0x430 && u <= 0x44F) return static_cast<wchar_t>(u - 0x20);
  if (u >= 0x450 && u <= 0x45F) return static_cast<wchar_t>(u - 0x50);
  if (u >= 0xFF41 && u <= 0xFF5A) return static_cast<wchar_t>(u - 0x20);
  return c;
}

namespace {
inline int UpperFast(wchar_t c) {
  if (static_cast<uint32_t>(c) < 0x80) return c >= L'a' && c <= L'z' ? c - 0x20 : c;
  return static_cast<int>(UpperChar(c));
}
}  // namespace

int CompareNoCaseN(const wchar_t* a, const wchar_t* b, int count) {
  for (int i = 0; i < count; ++i) {
    int ca = UpperFast(a[i]);
    int cb = UpperFast(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
  return 0;
}

int CompareNoCase(const wchar_t* a, const wchar_t* b) {
  for (size_t i = 0;; ++i) {
    int ca = UpperFast(a[i]);
    int cb = UpperFast(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int CompareOrdinalNoCase(const wchar_t* a, const wchar_t* b) { return CompareNoCase(a, b); }

// There is no ANSI code page here; codes and keys are ASCII, anything else becomes '?'.
bool ToAnsi(const wchar_t* text, char* out, size_t outSize) {
  if (!out || outSize == 0) return false;
  size_t i = 0;
  for (; text && text[i]; ++i) {
    if (i + 1 >= outSize) {
      out[i] = 0;
      return false;
    }
    uint32_t c = static_cast<uint32_t>(text[i]);
    out[i] = c < 0x80 ? static_cast<char>(c) : '?';
  }
  out[i] = 0;
  return true;
}

void ShowMessageBox(const wchar_t* text) {
  std::string line = WideToUtf8(text);
  line += '\n';
  fputs(line.c_str(), stderr);
}

bool IsWindowHandle(HWND) { return false; }

bool PostWindowMessage(HWND, UINT, WPARAM, LPARAM) { return false; }

std::wstring ModuleDirectory() {
  Dl_info info;
  std::string path;
  if (dladdr(reinterpret_cast<void*>(&ModuleDirectory), &info) && info.dli_fname)
    path = info.dli_fname;
  if (path.find('/') == std::string::npos) {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    path = n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string(".");
  }
  size_t slash = path.rfind('/');
  path = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  return Utf8ToWideLenient(path);
}

std::wstring ProcessDirectory() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer));
  if (n <= 0 || static_cast<size_t>(n) >= sizeof(buffer)) return std::wstring();
  std::string path(buffer, static_cast<size_t>(n));
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::wstring();
  return Utf8ToWideLenient(path.substr(0, slash == 0 ? 1 : slash));
}

std::string Utf8Path(const wchar_t* path) { return WideToUtf8(path); }

bool FileExists(const wchar_t* path) {
  struct stat info;
  return path && stat(WideToUtf8(path).c_str(), &info) == 0;
}

bool DeleteFileAt(const wchar_t* path) { return path && unlink(WideToUtf8(path).c_str()) == 0; }

}  // namespace plat
