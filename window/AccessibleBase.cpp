#include "AccessibleBase.h"

#include "AccessibleLink.h"

namespace {

void SetChild(VARIANT* variant, long child) {
  variant->vt = VT_I4;
  variant->lVal = child;
}

}  // namespace

CAccessibleBase::CAccessibleBase(HWND wnd)
    : m_nRefCount(1), m_hWnd(wnd), m_dwThreadId(::GetWindowThreadProcessId(wnd, nullptr)) {}

HRESULT CAccessibleBase::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

// Clients release from any thread.
ULONG CAccessibleBase::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_nRefCount)); }

ULONG CAccessibleBase::Release() {
  LONG count = InterlockedDecrement(&m_nRefCount);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

HRESULT CAccessibleBase::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT CAccessibleBase::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT CAccessibleBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT CAccessibleBase::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                UINT*) {
  return E_NOTIMPL;
}

// --- Checks. ---

HRESULT CAccessibleBase::Usable() const {
  // Disconnect clears the handle when the window is destroyed; IsWindow also covers a window
  // destroyed without its object hearing of it.
  HWND wnd = m_hWnd.load();
  if (!wnd || !::IsWindow(wnd)) return CO_E_OBJNOTCONNECTED;
  if (::GetCurrentThreadId() != m_dwThreadId) return RPC_E_WRONG_THREAD;
  return S_OK;
}

HRESULT CAccessibleBase::UsableChild(const VARIANT& child, long* id) {
  HRESULT hr = Usable();
  if (FAILED(hr)) return hr;
  if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > ChildCount()) return E_INVALIDARG;
  *id = child.lVal;
  return S_OK;
}

// --- What every window answers alike. ---

HRESULT CAccessibleBase::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  HRESULT hr = Usable();
  if (FAILED(hr)) return hr;
  // The client area's parent is the window's own object, which the system provides.
  return AccessibleObjectFromWindow(Window(), static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                    reinterpret_cast<void**>(parent));
}

HRESULT CAccessibleBase::get_accChildCount(long* count) {
  if (!count) return E_POINTER;
  *count = 0;
  HRESULT hr = Usable();
  if (FAILED(hr)) return hr;
  *count = ChildCount();
  return S_OK;
}

// Children are simple elements: the client asks this object about them by number.
HRESULT CAccessibleBase::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  long id = 0;
  HRESULT hr = UsableChild(child, &id);
  if (FAILED(hr)) return hr;
  return id == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
}

HRESULT CAccessibleBase::GetText(TextKind kind, const VARIANT& child, BSTR* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  long id = 0;
  HRESULT hr = UsableChild(child, &id);
  if (FAILED(hr)) return hr;
  std::wstring value;
  if (!Text(kind, id, &value)) return S_FALSE;
  *text = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return *text ? S_OK : E_OUTOFMEMORY;
}

HRESULT CAccessibleBase::get_accName(VARIANT child, BSTR* name) {
  return GetText(TextKind::Name, child, name);
}

HRESULT CAccessibleBase::get_accValue(VARIANT child, BSTR* value) {
  return GetText(TextKind::Value, child, value);
}

HRESULT CAccessibleBase::get_accDescription(VARIANT child, BSTR* description) {
  return GetText(TextKind::Description, child, description);
}

HRESULT CAccessibleBase::GetNumber(long (CAccessibleBase::*which)(long), const VARIANT& child,
                                   VARIANT* number) {
  if (!number) return E_POINTER;
  ::VariantInit(number);
  long id = 0;
  HRESULT hr = UsableChild(child, &id);
  if (FAILED(hr)) return hr;
  SetChild(number, (this->*which)(id));
  return S_OK;
}

long CAccessibleBase::StateShown(long child) {
  long bits = State(child);
  if (!::IsWindowVisible(Window())) bits |= STATE_SYSTEM_INVISIBLE;
  return bits;
}

HRESULT CAccessibleBase::get_accRole(VARIANT child, VARIANT* role) {
  return GetNumber(&CAccessibleBase::Role, child, role);
}

HRESULT CAccessibleBase::get_accState(VARIANT child, VARIANT* state) {
  return GetNumber(&CAccessibleBase::StateShown, child, state);
}

HRESULT CAccessibleBase::get_accHelp(VARIANT child, BSTR* help) {
  return GetText(TextKind::Help, child, help);
}

HRESULT CAccessibleBase::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
  if (file) *file = nullptr;
  if (topic) *topic = -1;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT CAccessibleBase::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return GetText(TextKind::KeyboardShortcut, child, shortcut);
}

HRESULT CAccessibleBase::GetChild(long (CAccessibleBase::*which)(), VARIANT* child) {
  if (!child) return E_POINTER;
  ::VariantInit(child);
  HRESULT hr = Usable();
  if (FAILED(hr)) return hr;
  long id = (this->*which)();
  if (id < 0) return S_FALSE;
  SetChild(child, id);
  return S_OK;
}

HRESULT CAccessibleBase::get_accFocus(VARIANT* child) {
  return GetChild(&CAccessibleBase::FocusedChild, child);
}

HRESULT CAccessibleBase::get_accSelection(VARIANT* children) {
  return GetChild(&CAccessibleBase::SelectedChild, children);
}

HRESULT CAccessibleBase::get_accDefaultAction(VARIANT child, BSTR* action) {
  return GetText(TextKind::DefaultAction, child, action);
}

// The objects report what the windows show; the trader changes it by typing, not through them.
HRESULT CAccessibleBase::Unsupported() const {
  HRESULT hr = Usable();
  return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
}

HRESULT CAccessibleBase::accSelect(long, VARIANT) { return Unsupported(); }

HRESULT CAccessibleBase::accDoDefaultAction(VARIANT) { return Unsupported(); }

HRESULT CAccessibleBase::put_accName(VARIANT, BSTR) { return Unsupported(); }

HRESULT CAccessibleBase::put_accValue(VARIANT, BSTR) { return Unsupported(); }

bool CAccessibleBase::ChildRect(long child, RECT* screen) {
  if (child != CHILDID_SELF) return false;
  return ::GetWindowRect(Window(), screen) != FALSE;
}

long CAccessibleBase::ChildAt(POINT) { return CHILDID_SELF; }

long CAccessibleBase::SelectedChild() { return -1; }

HRESULT CAccessibleBase::accLocation(long* left, long* top, long* width, long* height,
                                     VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  long id = 0;
  HRESULT hr = UsableChild(child, &id);
  if (FAILED(hr)) return hr;
  RECT rect;
  if (!ChildRect(id, &rect)) return S_FALSE;
  *left = rect.left;
  *top = rect.top;
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
  return S_OK;
}

// Children follow each other in their numbers' order; the object itself has no siblings here
// (its window's object, the parent, knows them).
HRESULT CAccessibleBase::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  ::VariantInit(end);
  long id = 0;
  HRESULT hr = UsableChild(start, &id);
  if (FAILED(hr)) return hr;
  long count = ChildCount();
  long target = -1;
  switch (direction) {
    case NAVDIR_FIRSTCHILD:
      if (id != CHILDID_SELF) return E_INVALIDARG;
      target = count > 0 ? 1 : -1;
      break;
    case NAVDIR_LASTCHILD:
      if (id != CHILDID_SELF) return E_INVALIDARG;
      target = count > 0 ? count : -1;
      break;
    case NAVDIR_NEXT:
    case NAVDIR_DOWN:
      if (id != CHILDID_SELF && id < count) target = id + 1;
      break;
    case NAVDIR_PREVIOUS:
    case NAVDIR_UP:
      if (id > 1) target = id - 1;
      break;
    default:
      break;
  }
  if (target < 0) return S_FALSE;
  SetChild(end, target);
  return S_OK;
}

HRESULT CAccessibleBase::accHitTest(long x, long y, VARIANT* child) {
  if (!child) return E_POINTER;
  ::VariantInit(child);
  HRESULT hr = Usable();
  if (FAILED(hr)) return hr;
  POINT point = {x, y};
  RECT client;
  ::GetClientRect(Window(), &client);
  ::ScreenToClient(Window(), &point);
  if (!::PtInRect(&client, point)) return S_FALSE;
  SetChild(child, ChildAt(point));
  return S_OK;
}

// --- The window's side. ---

LRESULT CAccessibleLink::Hand(WPARAM flags) {
  // Without COM on this thread the object cannot be handed out; the answer is then an error.
  LRESULT answer = LresultFromObject(__uuidof(IAccessible), flags, m_pObject);
  return answer > 0 ? answer : 0;
}

void CAccessibleLink::Disconnect() {
  if (!m_pObject) return;
  CAccessibleBase* object = m_pObject;
  m_pObject = nullptr;
  object->Disconnect();
  // Out-of-process clients hold stubs; they let go now rather than when the clients do.
  ::CoDisconnectObject(object, 0);
  object->Release();
}
