#include "SecurityMaster.h"

#include <algorithm>
#include <cstring>

#include "TextCodec.h"

namespace {

// Copies GB2312 text into a fixed byte field, cut at a character boundary, zero-filled.
template <size_t N>
void CopyGbField(char (&field)[N], const std::wstring& text) {
  memset(field, 0, N);
  std::string bytes;
  ts::WideToGb2312(text, bytes);
  memcpy(field, bytes.data(), ts::Gb2312PrefixLength(bytes, N - 1));
}

}  // namespace

CSecurityMaster::CSecurityMaster() {}

CSecurityMaster::~CSecurityMaster() {}

bool CSecurityMaster::AddSecurity(const wchar_t* code, unsigned char market, const wchar_t* name) {
  return AddSecurity(code, market, name, static_cast<unsigned short>(market << 8), false);
}

bool CSecurityMaster::AddSecurity(const wchar_t* code, unsigned char market, const wchar_t* name,
                                  unsigned short type, bool depositaryReceipt) {
  // Whatever the terminal registers is known, even with an empty code or name.
  if (!code || !name) return false;
  STK_PER record;
  memset(&record, 0, sizeof(record));
  CopyGbField(record.m_szName, name);
  CopyGbField(record.m_szCode, code);
  record.m_cMarket = market;
  record.m_bDepositaryReceipt = depositaryReceipt ? 1 : 0;
  record.m_wType = type;

  std::unique_lock<std::shared_mutex> lock(m_lock);
  // One look-up, not two: a terminal registers hundreds of thousands of securities, nearly all
  // new, and each look-up of a large index misses the cache. A security already known takes its
  // copies back.
  m_codes.emplace_back(code);
  m_records.push_back(record);
  if (m_index.emplace(Key{m_codes.back(), market}, &m_records.back()).second) return true;
  m_records.pop_back();
  m_codes.pop_back();
  return false;
}

size_t CSecurityMaster::Count() {
  std::shared_lock<std::shared_mutex> lock(m_lock);
  return m_records.size();
}

const STK_PER* CSecurityMaster::GetOneStkInfo(const std::wstring& code, unsigned char market) {
  std::shared_lock<std::shared_mutex> lock(m_lock);
  auto it = m_index.find(Key{code, market});
  return it == m_index.end() ? nullptr : it->second;
}

void CSecurityMaster::RegistRecvBroadcastMsgWnd(HWND wnd) {
  if (!wnd) return;
  std::lock_guard<std::mutex> lock(m_windowLock);
  if (std::find(m_windows.begin(), m_windows.end(), wnd) == m_windows.end())
    m_windows.push_back(wnd);
}

void CSecurityMaster::UnregistRecvBroadcastMsgWnd(HWND wnd) {
  std::lock_guard<std::mutex> lock(m_windowLock);
  m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), wnd), m_windows.end());
}

size_t CSecurityMaster::BroadcastWindowCount() {
  std::lock_guard<std::mutex> lock(m_windowLock);
  return m_windows.size();
}

int CSecurityMaster::BroadcastPaletteChanged() {
  std::vector<HWND> windows;
  {
    // A window may unregister (or register another) while it handles the message.
    std::lock_guard<std::mutex> lock(m_windowLock);
    windows = m_windows;
  }
  int sent = 0;
#ifdef _WIN32
  for (HWND wnd : windows) {
    if (!IsWindow(wnd)) continue;
    SendMessageW(wnd, WM_DATACENTER_BROADCAST, BROADCAST_PALETTE_CHANGED, 0);
    ++sent;
  }
#else
  (void)windows;  // no window system: nothing can receive it
#endif
  return sent;
}
