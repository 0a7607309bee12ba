// What a custom-drawn window of the pop-up keeps for screen readers: its accessible object, made
// on the first WM_GETOBJECT that asks for the client area and cut off when the window goes. A
// client may hold the object longer than the window lives; from then on every call answers
// CO_E_OBJNOTCONNECTED instead of reaching a window that is gone.
#pragma once

#include <windows.h>

class CAccessibleBase;

class CAccessibleLink {
 public:
  CAccessibleLink() = default;
  ~CAccessibleLink() { Disconnect(); }
  CAccessibleLink(const CAccessibleLink&) = delete;
  CAccessibleLink& operator=(const CAccessibleLink&) = delete;

  // The answer to WM_GETOBJECT: for the client area the object, made by make() (a new object
  // with its first reference, or null) on first use, handed to the asking client. 0 for other
  // objects and when the object cannot be handed out (no COM on this thread): the window then
  // leaves the message to its default processing.
  template <class Make>
  LRESULT Answer(WPARAM flags, LONG objectId, Make make) {
    if (objectId != OBJID_CLIENT) return 0;
    if (!m_pObject) m_pObject = make();
    return m_pObject ? Hand(flags) : 0;
  }
  // Marks the object dead, drops the stubs that out-of-process clients reach it through, and
  // lets go of it.
  void Disconnect();

 private:
  LRESULT Hand(WPARAM flags);

  CAccessibleBase* m_pObject = nullptr;
};
