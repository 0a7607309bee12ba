#include "TerminalEnv.h"

#include <utility>

CTerminalEnv::CTerminalEnv()
    : m_pPalette(nullptr),
      m_pDataMgr(nullptr),
      m_bClosing(false),
      m_hCommandWnd(nullptr),
      m_hMainFrameWnd(nullptr),
      m_nNextHandOver(1) {}

CTerminalEnv::~CTerminalEnv() {
  ReleaseHandOvers();
  SetPalette(nullptr);
  SetDataMgr(nullptr);
  std::map<std::wstring, IUnknown*> values;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    values.swap(m_contextValues);
  }
  for (auto& entry : values)
    if (entry.second) entry.second->Release();
}

void CTerminalEnv::Replace(IUnknown*& slot, IUnknown* object) {
  if (object) object->AddRef();
  IUnknown* old;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    old = slot;
    slot = object;
  }
  // Released outside the lock: a destructor may come back to the environment.
  if (old) old->Release();
}

void CTerminalEnv::SetPalette(IUnknown* palette) { Replace(m_pPalette, palette); }

void CTerminalEnv::SetDataMgr(IUnknown* dataMgr) { Replace(m_pDataMgr, dataMgr); }

void CTerminalEnv::SetClosing(bool closing) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_bClosing = closing;
}

void CTerminalEnv::SetCommandWnd(HWND wnd) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_hCommandWnd = wnd;
}

void CTerminalEnv::SetMainFrameWnd(HWND wnd) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_hMainFrameWnd = wnd;
}

void CTerminalEnv::SetContextValue(const wchar_t* name, IUnknown* value) {
  if (!name) return;
  if (value) value->AddRef();
  IUnknown* old = nullptr;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_contextValues.find(name);
    if (it != m_contextValues.end()) {
      old = it->second;
      if (value)
        it->second = value;
      else
        m_contextValues.erase(it);
    } else if (value) {
      m_contextValues.emplace(name, value);
    }
  }
  if (old) old->Release();
}

IUnknown* CTerminalEnv::TakeHandOver(uint32_t value) {
  std::lock_guard<std::mutex> lock(m_mutex);
  auto it = m_handOvers.find(value);
  if (it == m_handOvers.end()) return nullptr;
  IUnknown* object = it->second;
  m_handOvers.erase(it);
  return object;
}

size_t CTerminalEnv::PendingHandOverCount() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_handOvers.size();
}

void CTerminalEnv::ReleaseHandOvers() {
  for (IUnknown* object : TakeAllHandOvers()) object->Release();
}

std::vector<IUnknown*> CTerminalEnv::TakeAllHandOvers() {
  std::unordered_map<uint32_t, IUnknown*> pending;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    pending.swap(m_handOvers);
  }
  std::vector<IUnknown*> objects;
  objects.reserve(pending.size());
  for (auto& entry : pending) objects.push_back(entry.second);
  return objects;
}

IUnknown* CTerminalEnv::GetPalette() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_pPalette;
}

IUnknown* CTerminalEnv::GetDataMgr() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_pDataMgr;
}

bool CTerminalEnv::IsClosing() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_bClosing;
}

HWND CTerminalEnv::GetCommandWnd() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_hCommandWnd;
}

HWND CTerminalEnv::GetMainFrameWnd() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_hMainFrameWnd;
}

void CTerminalEnv::SetNextHandOver(uint32_t value) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_nNextHandOver = value;
}

uint32_t CTerminalEnv::RegisterHandOver(IUnknown* object) {
  if (!object) return 0;
  object->AddRef();
  std::lock_guard<std::mutex> lock(m_mutex);
  // Values count up from 1; after a wrap, 0 and values still waiting are skipped.
  uint32_t value;
  do {
    value = m_nNextHandOver++;
  } while (value == 0 || m_handOvers.count(value) != 0);
  m_handOvers.emplace(value, object);
  return value;
}

void CTerminalEnv::GetContextValue(IUnknown** value, const wchar_t* name, const wchar_t* name2,
                                   int /*reserved1*/, int /*reserved2*/, int /*reserved3*/) {
  if (!value) return;
  *value = nullptr;
  const wchar_t* key = name ? name : name2;
  if (!key) return;
  std::lock_guard<std::mutex> lock(m_mutex);
  auto it = m_contextValues.find(key);
  if (it == m_contextValues.end()) return;
  it->second->AddRef();
  *value = it->second;
}
