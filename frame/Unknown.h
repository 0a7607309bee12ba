// The reference-counted object family on which IHotKeyManager and every packaged value rest.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "platform/WinTypes.h"

// Compares all 16 bytes with {00000000-0000-0000-C000-000000000046}.
inline bool IsIUnknownId(REFIID riid) {
  static const unsigned char kUnknownId[16] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                               0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  return memcmp(&riid, kUnknownId, sizeof(kUnknownId)) == 0;
}

// Reference-counted IUnknown. Counts change atomically, so AddRef and Release may come from any
// thread; the last Release deletes the object through its virtual destructor.
template <class Base>
class CUnknownTmp : public Base {
 public:
  CUnknownTmp() : m_nRefCount(0) {}
  CUnknownTmp(const CUnknownTmp&) : Base(), m_nRefCount(0) {}
  CUnknownTmp& operator=(const CUnknownTmp&) { return *this; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
    if (!IsIUnknownId(riid)) return E_FAIL;
    AddRef();
    *ppvObject = static_cast<IUnknown*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_nRefCount); }
  ULONG STDMETHODCALLTYPE Release() override {
    int32_t count = --m_nRefCount;
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
  }
  virtual ~CUnknownTmp() {}

  int32_t RefCount() const { return m_nRefCount.load(); }

 protected:
  std::atomic<int32_t> m_nRefCount;
};

class CUnknown : public CUnknownTmp<IUnknown> {
 public:
  CUnknown() : m_pszName(nullptr) {}
  // A copy never shares the other object's name string.
  CUnknown(const CUnknown& other) : CUnknownTmp<IUnknown>(other), m_pszName(nullptr) {
    if (other.m_pszName) SetName(other.m_pszName);
  }
  CUnknown& operator=(const CUnknown& other) {
    if (this != &other) {
      if (other.m_pszName)
        SetName(other.m_pszName);
      else
        FreeName();
    }
    return *this;
  }
  ~CUnknown() override { FreeName(); }

  virtual HRESULT STDMETHODCALLTYPE GetIUnknownPtr(IUnknown** ppUnknown) {
    AddRef();
    *ppUnknown = this;
    return 0;
  }
  virtual const wchar_t* GetName() { return m_pszName; }
  virtual BOOL SetName(const wchar_t* name) {
    size_t length = wcslen(name);
    wchar_t* copy = new wchar_t[length + 1];
    memcpy(copy, name, (length + 1) * sizeof(wchar_t));
    FreeName();
    m_pszName = copy;
    return TRUE;
  }

 protected:
  void FreeName() {
    delete[] m_pszName;
    m_pszName = nullptr;
  }

  wchar_t* m_pszName;
};

// Carries one value of type T behind an IUnknown pointer; the receiver casts back with a
// run-time type check and reads m_value.
template <class T>
class CPackager : public CUnknown {
 public:
  CPackager() : m_value() {}
  explicit CPackager(const T& value) : m_value() { m_value = value; }

  T m_value;
};

// Element event record sent to a frame element.
struct _ELEMENT_EVENT_INFO {
  uint32_t m_dwElementId;
  const wchar_t* m_pszEventName;
  const wchar_t* m_pszEventArg;
  const wchar_t* m_pszParams;
  uint32_t m_dwReserved;
};

// Security reference posted to a window: market byte, then the code in 16 bytes.
#pragma pack(push, 1)
struct _STOCK_DEFINE {
  unsigned char m_cMarket;
  char m_szCode[16];
};
#pragma pack(pop)
static_assert(sizeof(_STOCK_DEFINE) == 17, "packed security reference");
