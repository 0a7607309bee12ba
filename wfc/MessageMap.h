// Message maps: each window class lists the messages it handles and nothing else; a message not
// listed by the class or one of its bases goes to the window's default procedure.
//
// Each ON_WM_* entry names a handler with the message's own parameters, unpacked once here, so
// that no handler takes WPARAM and LPARAM apart by hand; a handler with the wrong signature does
// not compile. ON_NOTIFY takes one notification code from one child. ON_MESSAGE remains for the
// private messages whose parameters mean what their sender says.
#pragma once

#include <windows.h>

#include <type_traits>

class CWnd;

// Calls the entry's handler on the window with the message's parameters; returns its result.
typedef LRESULT (*WFC_MSG_THUNK)(CWnd* wnd, WPARAM wParam, LPARAM lParam);

struct WFC_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;              // WM_NOTIFY: the notification code
  UINT_PTR nID;            // WM_NOTIFY: the sender's control id
  WFC_MSG_THUNK pfnThunk;  // null ends the table
};

struct WFC_MSGMAP {
  const WFC_MSGMAP* (*pfnGetBaseMap)();
  const WFC_MSGMAP_ENTRY* lpEntries;
};

namespace wfc {

// The signature of a member function pointer, whichever base class declares the member.
template <class Member>
struct MemberSignature;
template <class Owner, class Signature>
struct MemberSignature<Signature Owner::*> {
  using type = Signature;
};

template <auto Handler, class Signature>
constexpr bool kHasSignature =
    std::is_same_v<typename MemberSignature<decltype(Handler)>::type, Signature>;

inline POINT PointOf(LPARAM lParam) {
  // Signed: client coordinates left of or above the window are negative during a capture.
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

template <class T, auto Handler>
LRESULT CrackRaw(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
  static_assert(kHasSignature<Handler, LRESULT(WPARAM, LPARAM)>,
                "ON_MESSAGE handler: LRESULT Handler(WPARAM, LPARAM)");
  return (static_cast<T*>(wnd)->*Handler)(wParam, lParam);
}

template <class T, auto Handler>
LRESULT CrackNoParams(CWnd* wnd, WPARAM, LPARAM) {
  static_assert(kHasSignature<Handler, void()>, "handler: void Handler()");
  (static_cast<T*>(wnd)->*Handler)();
  return 0;
}

template <class T, auto Handler>
LRESULT CrackCreate(CWnd* wnd, WPARAM, LPARAM lParam) {
  static_assert(kHasSignature<Handler, int(LPCREATESTRUCTW)>,
                "int OnCreate(LPCREATESTRUCTW create): -1 refuses the window");
  return (static_cast<T*>(wnd)->*Handler)(reinterpret_cast<LPCREATESTRUCTW>(lParam));
}

template <class T, auto Handler>
LRESULT CrackSize(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
  static_assert(kHasSignature<Handler, void(UINT, int, int)>,
                "void OnSize(UINT type, int cx, int cy)");
  (static_cast<T*>(wnd)->*Handler)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
  return 0;
}

template <class T, auto Handler>
LRESULT CrackEraseBkgnd(CWnd* wnd, WPARAM wParam, LPARAM) {
  static_assert(kHasSignature<Handler, BOOL(HDC)>, "BOOL OnEraseBkgnd(HDC dc)");
  return (static_cast<T*>(wnd)->*Handler)(reinterpret_cast<HDC>(wParam));
}

// WM_NCACTIVATE: whether the frame is to look active; the answer lets the activation change.
template <class T, auto Handler>
LRESULT CrackNcActivate(CWnd* wnd, WPARAM wParam, LPARAM) {
  static_assert(kHasSignature<Handler, BOOL(BOOL)>, "BOOL OnNcActivate(BOOL active)");
  return (static_cast<T*>(wnd)->*Handler)(wParam ? TRUE : FALSE);
}

// WM_KEYDOWN, WM_KEYUP, WM_CHAR: the key or character, the repeat count and the flags word.
template <class T, auto Handler>
LRESULT CrackKey(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
  static_assert(kHasSignature<Handler, void(UINT, UINT, UINT)>,
                "void Handler(UINT key, UINT repeat, UINT flags)");
  (static_cast<T*>(wnd)->*Handler)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
  return 0;
}

// The button and mouse-move messages: the key state flags and the client point.
template <class T, auto Handler>
LRESULT CrackMouse(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
  static_assert(kHasSignature<Handler, void(UINT, POINT)>, "void Handler(UINT flags, POINT point)");
  (static_cast<T*>(wnd)->*Handler)(static_cast<UINT>(wParam), PointOf(lParam));
  return 0;
}

template <class T, auto Handler>
LRESULT CrackMouseWheel(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
  static_assert(kHasSignature<Handler, BOOL(UINT, short, POINT)>,
                "BOOL OnMouseWheel(UINT flags, short delta, POINT screenPoint)");
  return (static_cast<T*>(wnd)->*Handler)(GET_KEYSTATE_WPARAM(wParam),
                                          GET_WHEEL_DELTA_WPARAM(wParam), PointOf(lParam));
}

template <class T, auto Handler>
LRESULT CrackSetCursor(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
  static_assert(kHasSignature<Handler, BOOL(HWND, UINT, UINT)>,
                "BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT mouseMessage)");
  return (static_cast<T*>(wnd)->*Handler)(reinterpret_cast<HWND>(wParam), LOWORD(lParam),
                                          HIWORD(lParam));
}

template <class T, auto Handler>
LRESULT CrackTimer(CWnd* wnd, WPARAM wParam, LPARAM) {
  static_assert(kHasSignature<Handler, void(UINT_PTR)>, "void OnTimer(UINT_PTR id)");
  (static_cast<T*>(wnd)->*Handler)(static_cast<UINT_PTR>(wParam));
  return 0;
}

// WM_SETFOCUS, WM_KILLFOCUS (wParam) and WM_CAPTURECHANGED (lParam): the other window.
template <class T, auto Handler>
LRESULT CrackOtherWindowInW(CWnd* wnd, WPARAM wParam, LPARAM) {
  static_assert(kHasSignature<Handler, void(HWND)>, "void Handler(HWND other)");
  (static_cast<T*>(wnd)->*Handler)(reinterpret_cast<HWND>(wParam));
  return 0;
}
template <class T, auto Handler>
LRESULT CrackOtherWindowInL(CWnd* wnd, WPARAM, LPARAM lParam) {
  static_assert(kHasSignature<Handler, void(HWND)>, "void Handler(HWND other)");
  (static_cast<T*>(wnd)->*Handler)(reinterpret_cast<HWND>(lParam));
  return 0;
}

// The handler gives the message's answer.
template <class T, auto Handler>
LRESULT CrackDpiChanged(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
  static_assert(kHasSignature<Handler, LRESULT(UINT, const RECT*)>,
                "LRESULT OnDpiChanged(UINT dpi, const RECT* suggested)");
  return (static_cast<T*>(wnd)->*Handler)(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
}

// The handler usually ends with Default(), whose answer it returns.
template <class T, auto Handler>
LRESULT CrackImeComposition(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
  static_assert(kHasSignature<Handler, LRESULT(WCHAR, UINT)>,
                "LRESULT OnImeComposition(WCHAR lastChange, UINT changeFlags)");
  return (static_cast<T*>(wnd)->*Handler)(static_cast<WCHAR>(wParam), static_cast<UINT>(lParam));
}

template <class T, auto Handler>
LRESULT CrackCommand(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
  static_assert(kHasSignature<Handler, void(UINT, UINT, HWND)>,
                "void OnCommand(UINT id, UINT notifyCode, HWND control)");
  (static_cast<T*>(wnd)->*Handler)(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
  return 0;
}

template <class T, auto Handler>
LRESULT CrackGetObject(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
  static_assert(kHasSignature<Handler, LRESULT(DWORD, LONG)>,
                "LRESULT OnGetObject(DWORD flags, LONG objectId)");
  return (static_cast<T*>(wnd)->*Handler)(static_cast<DWORD>(wParam), static_cast<LONG>(lParam));
}

template <class T, auto Handler>
LRESULT CrackNotify(CWnd* wnd, WPARAM, LPARAM lParam) {
  static_assert(kHasSignature<Handler, void(NMHDR*, LRESULT*)>,
                "void Handler(NMHDR* header, LRESULT* result)");
  LRESULT result = 0;
  (static_cast<T*>(wnd)->*Handler)(reinterpret_cast<NMHDR*>(lParam), &result);
  return result;
}

}  // namespace wfc

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const WFC_MSGMAP* GetThisMessageMap(); \
  const WFC_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const WFC_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const WFC_MSGMAP* theClass::GetThisMessageMap() {                                 \
    typedef theClass ThisClass;                                                     \
    typedef baseClass TheBaseClass;                                                 \
    static const WFC_MSGMAP_ENTRY entries[] = {
#define WFC_ENTRY(message, cracker, memberFn) \
  {message, 0, 0, &wfc::cracker<ThisClass, &ThisClass::memberFn>},

// A private message: LRESULT memberFn(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFn) WFC_ENTRY(message, CrackRaw, memberFn)
// A private message without parameters: void memberFn().
#define ON_MESSAGE_VOID(message, memberFn) WFC_ENTRY(message, CrackNoParams, memberFn)
// One notification code from the child with the control id: void memberFn(NMHDR*, LRESULT*).
#define ON_NOTIFY(code, id, memberFn) \
  {WM_NOTIFY, code, id, &wfc::CrackNotify<ThisClass, &ThisClass::memberFn>},

#define ON_WM_CREATE() WFC_ENTRY(WM_CREATE, CrackCreate, OnCreate)
#define ON_WM_DESTROY() WFC_ENTRY(WM_DESTROY, CrackNoParams, OnDestroy)
#define ON_WM_CLOSE() WFC_ENTRY(WM_CLOSE, CrackNoParams, OnClose)
#define ON_WM_SIZE() WFC_ENTRY(WM_SIZE, CrackSize, OnSize)
#define ON_WM_PAINT() WFC_ENTRY(WM_PAINT, CrackNoParams, OnPaint)
#define ON_WM_ERASEBKGND() WFC_ENTRY(WM_ERASEBKGND, CrackEraseBkgnd, OnEraseBkgnd)
#define ON_WM_NCPAINT() WFC_ENTRY(WM_NCPAINT, CrackNoParams, OnNcPaint)
#define ON_WM_NCACTIVATE() WFC_ENTRY(WM_NCACTIVATE, CrackNcActivate, OnNcActivate)
#define ON_WM_KEYDOWN() WFC_ENTRY(WM_KEYDOWN, CrackKey, OnKeyDown)
#define ON_WM_KEYUP() WFC_ENTRY(WM_KEYUP, CrackKey, OnKeyUp)
#define ON_WM_CHAR() WFC_ENTRY(WM_CHAR, CrackKey, OnChar)
#define ON_WM_SETCURSOR() WFC_ENTRY(WM_SETCURSOR, CrackSetCursor, OnSetCursor)
#define ON_WM_MOUSEMOVE() WFC_ENTRY(WM_MOUSEMOVE, CrackMouse, OnMouseMove)
#define ON_WM_LBUTTONDOWN() WFC_ENTRY(WM_LBUTTONDOWN, CrackMouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() WFC_ENTRY(WM_LBUTTONUP, CrackMouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() WFC_ENTRY(WM_LBUTTONDBLCLK, CrackMouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() WFC_ENTRY(WM_RBUTTONDOWN, CrackMouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() WFC_ENTRY(WM_RBUTTONUP, CrackMouse, OnRButtonUp)
#define ON_WM_MOUSEWHEEL() WFC_ENTRY(WM_MOUSEWHEEL, CrackMouseWheel, OnMouseWheel)
#define ON_WM_MOUSELEAVE() WFC_ENTRY(WM_MOUSELEAVE, CrackNoParams, OnMouseLeave)
#define ON_WM_TIMER() WFC_ENTRY(WM_TIMER, CrackTimer, OnTimer)
#define ON_WM_SETFOCUS() WFC_ENTRY(WM_SETFOCUS, CrackOtherWindowInW, OnSetFocus)
#define ON_WM_KILLFOCUS() WFC_ENTRY(WM_KILLFOCUS, CrackOtherWindowInW, OnKillFocus)
#define ON_WM_CAPTURECHANGED() WFC_ENTRY(WM_CAPTURECHANGED, CrackOtherWindowInL, OnCaptureChanged)
#define ON_WM_DPICHANGED() WFC_ENTRY(WM_DPICHANGED, CrackDpiChanged, OnDpiChanged)
#define ON_WM_IME_COMPOSITION() WFC_ENTRY(WM_IME_COMPOSITION, CrackImeComposition, OnImeComposition)
#define ON_WM_COMMAND() WFC_ENTRY(WM_COMMAND, CrackCommand, OnCommand)
#define ON_WM_GETOBJECT() WFC_ENTRY(WM_GETOBJECT, CrackGetObject, OnGetObject)

#define END_MESSAGE_MAP()                                                    \
  { 0, 0, 0, nullptr }                                                       \
  }                                                                          \
  ;                                                                          \
  static const WFC_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
  return &map;                                                               \
  }
