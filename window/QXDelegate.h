// Delegates: a multicast list of callbacks with one call signature, and a callback bound to a
// member function through a binding record shared, and counted, by all its clones. The scrollbar
// control reports its events through one; the list binds its scroll handler to it.
#pragma once

#include <typeinfo>

namespace QXDelegate {

// Threading policy; the void model takes no lock: build, assign, invoke and clear on one thread.
template <class T>
class ThreadingModel {};

namespace local {

template <class Sig>
class ICallback;

template <class R, class... Args>
class ICallback<R(Args...)> {
 public:
  virtual ~ICallback() {}
  virtual R Invoke(Args... args) = 0;
  virtual bool Equals(const ICallback* other) const = 0;
  virtual ICallback* Clone() const = 0;  // owned by the caller
};

// What the clones of one member callback share.
template <class T>
struct Binding {
  T* m_pObject;
  int m_nOwnership;   // 1: the last callback to let go deletes the object; 2: not owned
  int m_nReferences;  // member callbacks sharing this record
};

template <class T, class Sig>
class MemberCallback;

template <class T, class R, class... Args>
class MemberCallback<T, R(Args...)> : public ICallback<R(Args...)> {
 public:
  typedef R (T::*Method)(Args...);

  MemberCallback(Binding<T>* binding, Method method, unsigned char flag = 0)
      : m_pBinding(binding), m_pMethod(method), m_cFlag(flag) {
    ++m_pBinding->m_nReferences;
  }
// The compiler cannot see that the shared count keeps a binding alive until its last callback
// goes, and takes two callbacks destroyed in a row for a use after free.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
#endif
  ~MemberCallback() override {
    if (--m_pBinding->m_nReferences == 0) {
      if (m_pBinding->m_nOwnership == 1) delete m_pBinding->m_pObject;
      delete m_pBinding;
    }
  }
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif
  MemberCallback(const MemberCallback&) = delete;
  MemberCallback& operator=(const MemberCallback&) = delete;

  R Invoke(Args... args) override { return (m_pBinding->m_pObject->*m_pMethod)(args...); }
  bool Equals(const ICallback<R(Args...)>* other) const override {
    const MemberCallback* same = dynamic_cast<const MemberCallback*>(other);
    return same && same->m_pBinding->m_pObject == m_pBinding->m_pObject &&
           same->m_cFlag == m_cFlag && same->m_pMethod == m_pMethod;
  }
  ICallback<R(Args...)>* Clone() const override {
    return new MemberCallback(m_pBinding, m_pMethod, m_cFlag);
  }

  const Binding<T>* GetBinding() const { return m_pBinding; }

 private:
  Binding<T>* m_pBinding;
  Method m_pMethod;
  unsigned char m_cFlag;
};

}  // namespace local

template <class Sig, class Model = void>
class delegate;

template <class R, class... Args, class Model>
class delegate<R(Args...), Model> : public local::ICallback<R(Args...)>,
                                    public ThreadingModel<Model> {
 public:
  typedef local::ICallback<R(Args...)> Callback;

  delegate() : m_pHead(nullptr) {}
  delegate(const delegate& other) : m_pHead(nullptr) { *this = other; }
  ~delegate() override { Clear(); }

  delegate& operator=(const delegate& other) {
    if (this == &other) return *this;
    Clear();
    delegate* clone = static_cast<delegate*>(other.Clone());
    m_pHead = clone->m_pHead;
    clone->m_pHead = nullptr;
    delete clone;
    return *this;
  }

  // Takes ownership; the callback is called after those added before it.
  void Add(Callback* callback) {
    if (callback) m_pHead = new Node{callback, m_pHead};
  }
  bool IsEmpty() const { return m_pHead == nullptr; }

  // Calls every callback in the order they were added; the result is the last one's.
  R Invoke(Args... args) override {
    if (!m_pHead) return R();
    return InvokeFrom(m_pHead, args...);
  }

  bool Equals(const Callback* other) const override {
    const delegate* same = dynamic_cast<const delegate*>(other);
    if (!same) return false;
    const Node* a = m_pHead;
    const Node* b = same->m_pHead;
    for (; a && b; a = a->m_pNext, b = b->m_pNext)
      if (!a->m_pCallback->Equals(b->m_pCallback)) return false;
    return !a && !b;
  }

  Callback* Clone() const override {
    delegate* clone = new delegate;
    Node** tail = &clone->m_pHead;
    for (const Node* node = m_pHead; node; node = node->m_pNext) {
      *tail = new Node{node->m_pCallback->Clone(), nullptr};
      tail = &(*tail)->m_pNext;
    }
    return clone;
  }

  void Clear() {
    while (m_pHead) {
      Node* next = m_pHead->m_pNext;
      delete m_pHead->m_pCallback;
      delete m_pHead;
      m_pHead = next;
    }
  }

 private:
  struct Node {
    Callback* m_pCallback;
    Node* m_pNext;
  };

  // The newest callback sits at the head: its successors (older ones) run first.
  static R InvokeFrom(Node* node, Args... args) {
    if (node->m_pNext) InvokeFrom(node->m_pNext, args...);
    return node->m_pCallback->Invoke(args...);
  }

  Node* m_pHead;
};

// A member callback for object's method on a new binding record.
template <class T, class R, class... Args>
local::MemberCallback<T, R(Args...)>* MakeMemberCallback(T* object, R (T::*method)(Args...),
                                                         int ownership) {
  auto* binding = new local::Binding<T>{object, ownership, 0};
  return new local::MemberCallback<T, R(Args...)>(binding, method, 0);
}

}  // namespace QXDelegate
