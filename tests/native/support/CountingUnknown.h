// A reference-counted test object that records every AddRef, Release and its destruction, so a
// test can prove that each reference taken is given back.
#pragma once

#include <atomic>

#include "frame/Unknown.h"

struct UnknownCounters {
  std::atomic<int> addRefs{0};
  std::atomic<int> releases{0};
  std::atomic<int> destroyed{0};
};

class CCountingUnknown : public CUnknown {
 public:
  // The counters must outlive the object; they are how a test sees its destruction.
  explicit CCountingUnknown(UnknownCounters* counters) : m_pCounters(counters) {}
  ~CCountingUnknown() override { ++m_pCounters->destroyed; }

  ULONG STDMETHODCALLTYPE AddRef() override {
    ++m_pCounters->addRefs;
    return CUnknown::AddRef();
  }
  ULONG STDMETHODCALLTYPE Release() override {
    ++m_pCounters->releases;
    return CUnknown::Release();  // may delete this: nothing after it
  }

 private:
  UnknownCounters* m_pCounters;
};
