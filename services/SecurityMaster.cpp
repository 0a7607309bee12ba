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

// True when the record's code field holds `code` byte for byte: ASCII (code page 936 keeps it as
// it is) and short enough for the field.
bool HeldExactly(std::wstring_view code) {
  if (code.size() >= sizeof(STK_PER::m_szCode)) return false;
  for (wchar_t c : code)
    if (static_cast<uint32_t>(c) >= 0x80 || c == 0) return false;
  return true;
}

template <size_t N>
void CopyAscii(char (&field)[N], std::wstring_view code) {
  for (size_t i = 0; i < code.size(); ++i) field[i] = static_cast<char>(code[i]);
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
  const std::wstring_view codeView(code);
  const bool exact = HeldExactly(codeView);
  STK_PER record;
  memset(&record, 0, sizeof(record));
  CopyGbField(record.m_szName, name);
  if (exact)
    CopyAscii(record.m_szCode, codeView);
  else
    CopyGbField(record.m_szCode, code);
  record.m_cMarket = market;
  record.m_bDepositaryReceipt = depositaryReceipt ? 1 : 0;
  record.m_wType = type;

  const uint32_t hash = Hash(codeView, market);
  std::unique_lock<std::shared_mutex> lock(m_lock);
  if (m_records.size() >= UINT32_MAX - 1) return false;
  ReserveLocked(m_records.size() + 1);
  const size_t slot = Probe(codeView, market, hash);
  if (m_slots[slot].record) return false;
  const uint32_t number = static_cast<uint32_t>(m_records.size());
  if (!exact) m_otherCodes.emplace(number, code);
  try {
    m_records.push_back(record);
  } catch (...) {
    // The next security takes this number: it must not find this one's code beside it.
    m_otherCodes.erase(number);
    throw;
  }
  m_slots[slot] = Slot{hash, number + 1};
  return true;
}

size_t CSecurityMaster::Count() {
  std::shared_lock<std::shared_mutex> lock(m_lock);
  return m_records.size();
}

void CSecurityMaster::Reserve(size_t count) {
  std::unique_lock<std::shared_mutex> lock(m_lock);
  ReserveLocked(count);
}

void CSecurityMaster::ReserveLocked(size_t count) {
  if (count * 4 <= m_slots.size() * 3) return;
  size_t size = 16;
  while (count * 4 > size * 3) size *= 2;
  // Built beside the old table, so that running out of memory leaves the old one whole.
  std::vector<Slot> slots(size, Slot{0, 0});
  const size_t mask = size - 1;
  for (const Slot& old : m_slots) {
    if (!old.record) continue;
    size_t at = old.hash & mask;
    while (slots[at].record) at = (at + 1) & mask;
    slots[at] = old;
  }
  m_slots.swap(slots);
}

uint32_t CSecurityMaster::Hash(std::wstring_view code, unsigned char market) {
  const uint64_t hash = std::hash<std::wstring_view>()(code) * 31 + market;
  return static_cast<uint32_t>(hash ^ (hash >> 32));
}

bool CSecurityMaster::Holds(uint32_t number, std::wstring_view code, unsigned char market) const {
  const STK_PER& record = m_records[number];
  if (record.m_cMarket != market) return false;
  auto other = m_otherCodes.find(number);
  if (other != m_otherCodes.end()) return other->second == code;
  // The record's bytes are the code itself.
  if (strnlen(record.m_szCode, sizeof(record.m_szCode)) != code.size()) return false;
  for (size_t i = 0; i < code.size(); ++i)
    if (static_cast<uint32_t>(code[i]) != static_cast<unsigned char>(record.m_szCode[i]))
      return false;
  return true;
}

size_t CSecurityMaster::Probe(std::wstring_view code, unsigned char market, uint32_t hash) const {
  const size_t mask = m_slots.size() - 1;
  size_t at = hash & mask;
  for (;; at = (at + 1) & mask) {
    const Slot& slot = m_slots[at];
    if (!slot.record || (slot.hash == hash && Holds(slot.record - 1, code, market))) return at;
  }
}

const STK_PER* CSecurityMaster::GetOneStkInfo(const std::wstring& code, unsigned char market) {
  std::shared_lock<std::shared_mutex> lock(m_lock);
  if (m_slots.empty()) return nullptr;
  const Slot& slot = m_slots[Probe(code, market, Hash(code, market))];
  return slot.record ? &m_records[slot.record - 1] : nullptr;
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
