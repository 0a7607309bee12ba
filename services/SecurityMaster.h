// The host's data centre: a security master answering GetOneStkInfo, and the broadcast of skin
// changes to the windows that registered for it.
//
// Security master file: UTF-8 text (an optional byte-order mark is skipped), one security a line,
// fields separated by tabs, blank lines and lines starting with '#' ignored:
//   code <TAB> market <TAB> name [<TAB> type word [<TAB> depositary receipt]]
// - code: at most 15 bytes are kept in the record (m_szCode is 16 bytes with its terminator);
// - market: decimal 0 to 255 (1 Shanghai, 0 Shenzhen);
// - name: stored as GB2312 (code page 936), cut to 51 bytes at a character boundary;
// - type word: decimal or 0x-prefixed hexadecimal up to 0xFFFF; empty or missing gives
//   market << 8 (high byte market group, low byte type 0);
// - depositary receipt: 1 or 0; empty or missing gives 0.
// The first registration of a (code, market) pair wins; later ones are refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "frame/DataMgr.h"
#include "frame/Export.h"

class TS_API CSecurityMaster : public CDataMgr {
 public:
  CSecurityMaster();
  ~CSecurityMaster() override;
  CSecurityMaster(const CSecurityMaster&) = delete;
  CSecurityMaster& operator=(const CSecurityMaster&) = delete;

  // Adds one security; false for a null text, or a (code, market) already known.
  bool AddSecurity(const wchar_t* code, unsigned char market, const wchar_t* name);
  bool AddSecurity(const wchar_t* code, unsigned char market, const wchar_t* name,
                   unsigned short type, bool depositaryReceipt);
  // Reads a security master file; returns the securities added, or -1 if the file cannot be
  // read. *rejected (optional) counts the lines that were neither comments nor added.
  int LoadFile(const wchar_t* path, int* rejected = nullptr);
  // The same for the text of such a file.
  int LoadText(const std::string& utf8, int* rejected = nullptr);
  size_t Count();
  // Room for `count` securities in all, for a terminal that knows how many it will register: the
  // index then never grows on the way.
  void Reserve(size_t count);

  // Sends the skin-changed broadcast (0x537, wParam 135) to every registered window that still
  // exists, synchronously; returns how many received it. Without a window system none do.
  int BroadcastPaletteChanged();
  size_t BroadcastWindowCount();

  // --- CDataMgr. The returned record stays valid and unchanged while the master lives. ---
  const STK_PER* GetOneStkInfo(const std::wstring& code, unsigned char market) override;
  void RegistRecvBroadcastMsgWnd(HWND wnd) override;
  void UnregistRecvBroadcastMsgWnd(HWND wnd) override;

 private:
  // Looked up on every alias a search shows, and a terminal registers hundreds of thousands of
  // securities: an open-addressed table of record numbers, found by a hash of the caller's code
  // and market. A code the record's own bytes hold exactly (ASCII, at most 15 characters: nearly
  // every code) is compared with them; only the others keep a wide copy.
  struct Slot {
    uint32_t hash;
    uint32_t record;  // its number + 1; 0 for an empty slot
  };
  static uint32_t Hash(std::wstring_view code, unsigned char market);
  bool Holds(uint32_t record, std::wstring_view code, unsigned char market) const;
  // The slot holding (code, market), or the empty slot where it would go.
  size_t Probe(std::wstring_view code, unsigned char market, uint32_t hash) const;
  // Room for `count` securities in all without the table growing again.
  void ReserveLocked(size_t count);

  std::shared_mutex m_lock;
  // Deques never move their elements when they grow.
  std::deque<STK_PER> m_records;
  std::vector<Slot> m_slots;  // a power of two, at most three quarters full
  std::unordered_map<uint32_t, std::wstring> m_otherCodes;  // by record number
  std::mutex m_windowLock;
  std::vector<HWND> m_windows;
};
