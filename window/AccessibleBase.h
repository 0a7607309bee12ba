// The common part of the pop-up's accessible objects (Microsoft Active Accessibility): reference
// counting, the checks every call makes and the IAccessible methods that only differ by what a
// window reports. A window's object answers for its client area (child 0) and for simple children
// numbered from 1, which have no objects of their own. Each call first checks that the window is
// still there and that it runs on the window's thread, so a client never reaches a window that is
// gone and never reads the window's state while that thread changes it.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <atomic>
#include <string>

class CAccessibleBase : public IAccessible {
 public:
  // The object of wnd's client area; the caller holds the first reference.
  explicit CAccessibleBase(HWND wnd);
  CAccessibleBase(const CAccessibleBase&) = delete;
  CAccessibleBase& operator=(const CAccessibleBase&) = delete;

  // From now on every call answers CO_E_OBJNOTCONNECTED.
  void Disconnect() { m_hWnd = nullptr; }

  // IUnknown.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: no type information of our own; clients call IAccessible directly, and
  // marshalling uses the system's description of the interface.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

  // IAccessible.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 protected:
  virtual ~CAccessibleBase() = default;

  // The pop-up's keys are the trader's typing itself and its rows have no action of their own:
  // the windows answer the last three with nothing.
  enum class TextKind { Name, Value, Description, Help, KeyboardShortcut, DefaultAction };
  // What a window reports; each is asked only while the window is there, on its thread, about
  // child 0 (CHILDID_SELF) or a child from 1 to ChildCount().
  virtual long ChildCount() = 0;
  // False when the object has no such text.
  virtual bool Text(TextKind kind, long child, std::wstring* text) = 0;
  virtual long Role(long child) = 0;
  virtual long State(long child) = 0;
  // A child's place on the screen; false when it has none.
  virtual bool ChildRect(long child, RECT* screen);
  // The child at a point of the client area, CHILDID_SELF for none.
  virtual long ChildAt(POINT client);
  // The child that has the focus or is selected: CHILDID_SELF for the object itself, −1 for none.
  virtual long FocusedChild() = 0;
  virtual long SelectedChild();

  HWND Window() const { return m_hWnd.load(); }

 private:
  // S_OK while the window is there and the call runs on its thread.
  HRESULT Usable() const;
  // Usable, and child is VT_I4 from 0 to ChildCount(); *id is then its number.
  HRESULT UsableChild(const VARIANT& child, long* id);
  HRESULT GetText(TextKind kind, const VARIANT& child, BSTR* text);
  // Role or state of a child, as a VT_I4.
  HRESULT GetNumber(long (CAccessibleBase::*which)(long), const VARIANT& child, VARIANT* number);
  // The window's state bits and whether it is shown.
  long StateShown(long child);
  // The child that which() names, as get_accFocus and get_accSelection answer it.
  HRESULT GetChild(long (CAccessibleBase::*which)(), VARIANT* child);
  // Usable's failure, or DISP_E_MEMBERNOTFOUND.
  HRESULT Unsupported() const;

  volatile LONG m_nRefCount;
  // Null once disconnected; a client on another thread may read it meanwhile.
  std::atomic<HWND> m_hWnd;
  const DWORD m_dwThreadId;
};
