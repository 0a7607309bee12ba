#include "CallTrace.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <type_traits>
#include <vector>

namespace call_trace {

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

namespace {

// Frame keys: a handler is (window kind << 16 | message); a traced call is kCallKey + its slot,
// with the key of the handler that made it in the high half (and, for the default window
// procedures, the message they process in place of the slot).
typedef long long Key;
const Key kCallKey = 0x40000000;
const Key kDefaultKey = 0x20000000;

struct Frame {
  Key key;
  double start;
  double inner;  // time of the frames inside it
};

std::vector<Frame> s_stack;
std::map<Key, double> s_own;

// The nearest handler frame's key, 0 without one.
Key Handler() {
  for (size_t i = s_stack.size(); i-- > 0;)
    if (s_stack[i].key < kDefaultKey) return s_stack[i].key;
  return 0;
}

void Push(Key key) { s_stack.push_back({key, NowMs(), 0}); }
void PushCall(Key call) { Push(Handler() << 32 | call); }

void Pop() {
  const Frame frame = s_stack.back();
  s_stack.pop_back();
  const double spent = NowMs() - frame.start;
  s_own[frame.key] += spent - frame.inner;
  if (!s_stack.empty()) s_stack.back().inner += spent;
}

struct TracedCall {
  const char* name;
  void* wrapper;
  void** original;
  int* slot;
};

// The window-management calls: the system does the work and often waits for the display
// server, whatever our code asks of it.
BracketFn s_bracketEnter = nullptr;
BracketFn s_bracketLeave = nullptr;

// What a wrapper does around the call: Enter answers whether Leave is to follow.
struct TraceHooks {
  static bool Enter(int slot) {
    if (s_stack.empty()) return false;
    PushCall(kCallKey + slot);
    return true;
  }
  static void Leave() { Pop(); }
};

struct BracketHooks {
  static bool Enter(int) {
    s_bracketEnter();
    return true;
  }
  static void Leave() { s_bracketLeave(); }
};

template <typename Hooks, int Line, typename Fn>
struct Wrap;

// x64 has one calling convention, so one wrapper shape serves every import.
template <typename Hooks, int Line, typename R, typename... A>
struct Wrap<Hooks, Line, R (*)(A...)> {
  static R (*original)(A...);
  static int slot;
  static R Call(A... args) {
    if (!Hooks::Enter(slot)) return original(args...);
    if constexpr (std::is_void<R>::value) {
      original(args...);
      Hooks::Leave();
    } else {
      R result = original(args...);
      Hooks::Leave();
      return result;
    }
  }
};
template <typename Hooks, int Line, typename R, typename... A>
R (*Wrap<Hooks, Line, R (*)(A...)>::original)
(A...) = nullptr;
template <typename Hooks, int Line, typename R, typename... A>
int Wrap<Hooks, Line, R (*)(A...)>::slot = 0;

#define WRAPPED(hooks, name)                                                              \
  TracedCall {                                                                            \
#name, reinterpret_cast < void*>(&Wrap <hooks, __LINE__, decltype(&::name)>::Call),   \
        reinterpret_cast < void**>(&Wrap <hooks, __LINE__, decltype(&::name)>::original), \
        &Wrap < hooks, __LINE__, decltype(&::name)> ::slot                                \
  }
#define TRACED(name) WRAPPED(TraceHooks, name)
#define BRACKETED(name) WRAPPED(BracketHooks, name)

// clang-format off
TracedCall s_calls[] = {
  // Window management and messages.
  TRACED(ShowWindow),
  TRACED(SetWindowPos),
  TRACED(MoveWindow),
  TRACED(SetForegroundWindow),
  TRACED(SetFocus),
  TRACED(GetFocus),
  TRACED(SetWindowTextW),
  TRACED(SendMessageW),
  TRACED(PostMessageW),
  TRACED(InvalidateRect),
  TRACED(RedrawWindow),
  TRACED(UpdateWindow),
  TRACED(NotifyWinEvent),
  TRACED(GetClientRect),
  TRACED(GetWindowRect),
  TRACED(IsWindowVisible),
  TRACED(IsWindow),
  TRACED(IsChild),
  TRACED(GetParent),
  TRACED(GetDlgCtrlID),
  TRACED(GetWindowLongW),
  TRACED(GetWindowLongPtrW),
  TRACED(SetTimer),
  TRACED(KillTimer),
  TRACED(GetMessageTime),
  TRACED(CharUpperW),
  TRACED(GetDesktopWindow),
  TRACED(MonitorFromWindow),
  TRACED(MonitorFromRect),
  TRACED(GetMonitorInfoW),
  TRACED(SystemParametersInfoW),
  // Painting.
  TRACED(BeginPaint),
  TRACED(EndPaint),
  TRACED(GetDC),
  TRACED(ReleaseDC),
  TRACED(DrawTextW),
  TRACED(FillRect),
  TRACED(FrameRect),
  TRACED(CreateCompatibleDC),
  TRACED(CreateCompatibleBitmap),
  TRACED(DeleteDC),
  TRACED(DeleteObject),
  TRACED(SelectObject),
  TRACED(BitBlt),
  TRACED(StretchBlt),
  TRACED(CreateSolidBrush),
  TRACED(CreatePen),
  TRACED(ExtCreatePen),
  TRACED(GetTextExtentExPointW),
  TRACED(GetTextExtentPoint32W),
  TRACED(TextOutW),
  TRACED(ExtTextOutW),
  TRACED(SaveDC),
  TRACED(RestoreDC),
  TRACED(ExcludeClipRect),
  TRACED(IntersectClipRect),
  TRACED(SetTextColor),
  TRACED(SetBkColor),
  TRACED(SetBkMode),
  TRACED(GetClipBox),
  TRACED(SetWindowOrgEx),
  TRACED(SetStretchBltMode),
  TRACED(SetBrushOrgEx),
  TRACED(MoveToEx),
  TRACED(LineTo),
  TRACED(SetROP2),
  TRACED(GetDeviceCaps),
  TRACED(GetObjectW),
  TRACED(CreateFontIndirectW),
  // Files (the logger).
  TRACED(CreateFileW),
  TRACED(WriteFile),
  TRACED(CloseHandle),
  TRACED(FlushFileBuffers),
  TRACED(SetFilePointer),
  TRACED(SetFilePointerEx),
  TRACED(GetLocalTime),
  TRACED(GetFileAttributesW),
  TRACED(CreateDirectoryW),
};
// clang-format on

const int kCallCount = static_cast<int>(sizeof(s_calls) / sizeof(s_calls[0]));

// The default window procedures are told apart by the message they process.
LRESULT WINAPI (*s_callWindowProc)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
LRESULT WINAPI (*s_defWindowProc)(HWND, UINT, WPARAM, LPARAM);

// Messages to the terminal's windows (the frame losing activation to the pop-up, say) are told
// apart from those to ours.
Key Owner(HWND window) {
  HWND root = GetAncestor(window, GA_ROOT);
  wchar_t name[16] = {};
  GetClassNameW(root, name, 16);
  return wcscmp(name, L"#32770") == 0 ? 0 : 0x20000;
}

LRESULT WINAPI TracedCallWindowProc(WNDPROC proc, HWND window, UINT message, WPARAM w, LPARAM l) {
  if (s_stack.empty()) return s_callWindowProc(proc, window, message, w, l);
  PushCall(kDefaultKey + Owner(window) + (message & 0xFFFF));
  LRESULT result = s_callWindowProc(proc, window, message, w, l);
  Pop();
  return result;
}

LRESULT WINAPI TracedDefWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (s_stack.empty()) return s_defWindowProc(window, message, w, l);
  PushCall(kDefaultKey + Owner(window) + 0x10000 + (message & 0xFFFF));
  LRESULT result = s_defWindowProc(window, message, w, l);
  Pop();
  return result;
}

TracedCall s_defaults[] = {
    {"CallWindowProcW", reinterpret_cast<void*>(&TracedCallWindowProc),
     reinterpret_cast<void**>(&s_callWindowProc), nullptr},
    {"DefWindowProcW", reinterpret_cast<void*>(&TracedDefWindowProc),
     reinterpret_cast<void**>(&s_defWindowProc), nullptr},
};

// The window-management calls, bracketed in every run.
// clang-format off
TracedCall s_windowManagement[] = {
  BRACKETED(ShowWindow),
  BRACKETED(SetWindowPos),
  BRACKETED(MoveWindow),
  BRACKETED(SetForegroundWindow),
  BRACKETED(SetActiveWindow),
  BRACKETED(BringWindowToTop),
  BRACKETED(SetFocus),
  BRACKETED(GetFocus),
  BRACKETED(GetForegroundWindow),
  BRACKETED(GetActiveWindow),
  BRACKETED(DefWindowProcW),
  BRACKETED(CallWindowProcW),
  BRACKETED(DefDlgProcW),
};
// clang-format on
#undef BRACKETED
#undef TRACED
#undef WRAPPED

void Redirect(TracedCall& call, const char* name, IMAGE_THUNK_DATA* addresses);

template <size_t N>
void PatchImports(HMODULE module, TracedCall (&calls)[N]);

void PatchImports(HMODULE module) {
  PatchImports(module, s_calls);
  PatchImports(module, s_defaults);
}

template <size_t N>
void PatchImports(HMODULE module, TracedCall (&calls)[N]) {
  BYTE* base = reinterpret_cast<BYTE*>(module);
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!directory.VirtualAddress) return;
  for (const IMAGE_IMPORT_DESCRIPTOR* import =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       import->Name; ++import) {
    const IMAGE_THUNK_DATA* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
        base + (import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk));
    IMAGE_THUNK_DATA* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* name =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
      for (TracedCall& call : calls) Redirect(call, name, addresses);
    }
  }
}

void Redirect(TracedCall& call, const char* name, IMAGE_THUNK_DATA* addresses) {
  if (strcmp(name, call.name) != 0) return;
  if (!*call.original) *call.original = reinterpret_cast<void*>(addresses->u1.Function);
  DWORD protection;
  VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
  addresses->u1.Function = reinterpret_cast<ULONG_PTR>(call.wrapper);
  VirtualProtect(&addresses->u1.Function, sizeof(void*), protection, &protection);
}

// Which of our windows: the view's forwarding (null), the dialog, the edit, the list, the
// list's scrollbar.
int WindowKind(HWND window) {
  if (!window) return 0;
  switch (GetDlgCtrlID(window)) {
    case 1001:
      return 2;
    case 1000:
      return 3;
    default:
      break;
  }
  HWND parent = GetParent(window);
  if (parent && GetDlgCtrlID(parent) == 1000) return 4;
  return 1;
}

const char* MessageName(int message) {
  switch (message) {
    case WM_PAINT:
      return "WM_PAINT";
    case WM_ERASEBKGND:
      return "WM_ERASEBKGND";
    case WM_CHAR:
      return "WM_CHAR";
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_KEYUP:
      return "WM_KEYUP";
    case WM_NOTIFY:
      return "WM_NOTIFY";
    case WM_SIZE:
      return "WM_SIZE";
    case WM_SETFOCUS:
      return "WM_SETFOCUS";
    case WM_KILLFOCUS:
      return "WM_KILLFOCUS";
    case WM_GETOBJECT:
      return "WM_GETOBJECT";
    case WM_TIMER:
      return "WM_TIMER";
    case WM_SETCURSOR:
      return "WM_SETCURSOR";
    case WM_MOUSEMOVE:
      return "WM_MOUSEMOVE";
    case WM_IME_COMPOSITION:
      return "WM_IME_COMPOSITION";
    case WM_NCPAINT:
      return "WM_NCPAINT";
    case WM_NCCALCSIZE:
      return "WM_NCCALCSIZE";
    case WM_NCACTIVATE:
      return "WM_NCACTIVATE";
    case WM_ACTIVATE:
      return "WM_ACTIVATE";
    case WM_ACTIVATEAPP:
      return "WM_ACTIVATEAPP";
    case WM_SHOWWINDOW:
      return "WM_SHOWWINDOW";
    case WM_WINDOWPOSCHANGING:
      return "WM_WINDOWPOSCHANGING";
    case WM_WINDOWPOSCHANGED:
      return "WM_WINDOWPOSCHANGED";
    case WM_MOVE:
      return "WM_MOVE";
    case WM_SETREDRAW:
      return "WM_SETREDRAW";
    case WM_GETMINMAXINFO:
      return "WM_GETMINMAXINFO";
    case WM_NCHITTEST:
      return "WM_NCHITTEST";
    case WM_CHILDACTIVATE:
      return "WM_CHILDACTIVATE";
    case WM_GETTEXT:
      return "WM_GETTEXT";
    case WM_SYNCPAINT:
      return "WM_SYNCPAINT";
    default:
      return nullptr;
  }
}

std::string HandlerName(Key key) {
  static const char* const kinds[] = {"routing", "dialog", "edit", "list", "scrollbar"};
  char text[64];
  if (const char* name = MessageName(static_cast<int>(key & 0xFFFF)))
    snprintf(text, sizeof(text), "%s %s", kinds[key >> 16 & 7], name);
  else
    snprintf(text, sizeof(text), "%s 0x%04X", kinds[key >> 16 & 7], static_cast<int>(key & 0xFFFF));
  return text;
}

std::string NameOf(Key key) {
  const Key call = key & 0xFFFFFFFF;
  if (call < kDefaultKey) return HandlerName(key) + " (own)";
  std::string name = HandlerName(key >> 32) + ": ";
  if (call >= kCallKey) return name + s_calls[call - kCallKey].name;
  const Key message = call - kDefaultKey;
  if (message & 0x20000) name += "the terminal's window, ";
  return name + (message & 0x10000 ? "DefWindowProcW " : "CallWindowProcW ") +
         (MessageName(static_cast<int>(message & 0xFFFF))
              ? MessageName(static_cast<int>(message & 0xFFFF))
              : std::to_string(message & 0xFFFF));
}

}  // namespace

void Install(const wchar_t* const* moduleNames, int count) {
  for (int i = 0; i < kCallCount; ++i) *s_calls[i].slot = i;
  for (int i = 0; i < count; ++i)
    if (HMODULE module = GetModuleHandleW(moduleNames[i])) PatchImports(module);
}

void BracketWindowManagement(const wchar_t* const* moduleNames, int count, BracketFn enter,
                             BracketFn leave) {
  s_bracketEnter = enter;
  s_bracketLeave = leave;
  for (int i = 0; i < count; ++i)
    if (HMODULE module = GetModuleHandleW(moduleNames[i])) PatchImports(module, s_windowManagement);
}

void EnterHandler(HWND window, UINT message) {
  Push(static_cast<Key>(WindowKind(window)) << 16 | (message & 0xFFFF));
}

void LeaveHandler() { Pop(); }

std::map<std::string, double> Take() {
  std::map<std::string, double> named;
  for (const auto& entry : s_own) named[NameOf(entry.first)] += entry.second;
  s_own.clear();
  return named;
}

}  // namespace call_trace
