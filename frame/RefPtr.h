// Owning pointer to a reference-counted object: one reference, released on destruction.
#pragma once

#include <utility>

template <class T>
class TRefPtr {
 public:
  TRefPtr() : m_p(nullptr) {}
  // Takes over a reference the caller already holds.
  static TRefPtr Adopt(T* p) {
    TRefPtr ptr;
    ptr.m_p = p;
    return ptr;
  }
  // Takes a new reference.
  explicit TRefPtr(T* p) : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  TRefPtr(const TRefPtr& other) : TRefPtr(other.m_p) {}
  TRefPtr(TRefPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
  TRefPtr& operator=(TRefPtr other) {
    std::swap(m_p, other.m_p);
    return *this;
  }
  ~TRefPtr() {
    if (m_p) m_p->Release();
  }

  T* get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

 private:
  T* m_p;
};
