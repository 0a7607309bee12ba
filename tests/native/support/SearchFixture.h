// A mapping table filled with hand-made items inside a terminal whose data centre knows every
// security among them, and a compact text form of search results for order comparisons.
#pragma once

#include <string>
#include <vector>

#include "frame/KeyboardItemInfo.h"
#include "frame/RefPtr.h"
#include "table/MappingTable.h"

class CTerminalEnv;
class CSecurityMaster;

// Type words by category, as the terminal registers them.
namespace type_word {
const unsigned short SH_A = 0x0102;           // 11 沪A
const unsigned short SZ_A = 0x0006;           // 12 深A
const unsigned short SZ_A_SME = 0x000D;       // 13 深A
const unsigned short SZ_A_GEM = 0x0050;       // 14 深A
const unsigned short STAR = 0x0117;           // 15 科创
const unsigned short SH_B = 0x0103;           // 17 沪B
const unsigned short SZ_B = 0x0007;           // 18 深B
const unsigned short HK_MAIN = 0x7403;        // 21 港股
const unsigned short HK_OTHER = 0x0300;       // 22 港股
const unsigned short HK_GEM = 0x7404;         // 23 港股
const unsigned short US = 0x6901;             // 25 美股
const unsigned short SH_INDEX = 0x0101;       // 35 指数
const unsigned short INDEX = 0x0200;          // 37 指数
const unsigned short SH_FUND = 0x0109;        // 39 基金
const unsigned short SZ_FUND = 0x000A;        // 40 基金
const unsigned short SH_BOND = 0x0104;        // 41 债券
const unsigned short SZ_BOND = 0x0008;        // 42 债券
const unsigned short FUTURE = 0x0797;         // 44 期货
const unsigned short DELISTED = 0x0112;       // 64 退市
const unsigned short UNKNOWN = 0xFFFF;        // 66 未知
const unsigned short FUNCTION_CMD = 0x6400;   // 5 功能 (numeric commands)
const unsigned short INDICATOR_CMD = 0x6500;  // 6 指标
const unsigned short BLOCK_CMD = 0x6600;      // 71 板块
const unsigned short TRADE_CMD = 0x6700;      // 0..4 交易 (+ sub-group)
}  // namespace type_word

KeyboardItemInfo Security(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                          unsigned short type, unsigned char market, DWORD kind = 0);
KeyboardItemInfo Command(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                         unsigned short type, int extra);
KeyboardItemInfo Alias(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                       unsigned short type, unsigned char market);
KeyboardItemInfo FormerName(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                            unsigned short type, unsigned char market);

// "code select", prefixed "C:" for a command, "A:" for an alias and "F:" for a former name.
std::wstring Row(const KeyboardItemInfo& record);
std::vector<std::wstring> Rows(const std::vector<KeyboardItemInfo>& results);

class SearchBed {
 public:
  // withDataCentre false: the environment has no data manager (aliases resolve to nothing).
  explicit SearchBed(bool withDataCentre = true);
  ~SearchBed();
  SearchBed(const SearchBed&) = delete;
  SearchBed& operator=(const SearchBed&) = delete;

  // Registers the securities among the items with the data centre (first one wins), then adds
  // them one at a time with sorted insert, or in one bulk add sorting every list; both with the
  // duplicate check on.
  bool LoadSingle(const std::vector<KeyboardItemInfo>& items);
  bool LoadBulk(const std::vector<KeyboardItemInfo>& items);
  // Registers one security with the data centre only.
  void AddSecurityRecord(const wchar_t* code, unsigned char market, const wchar_t* name);

  std::vector<KeyboardItemInfo> Search(const wchar_t* text, bool excludeCommands = false);
  std::vector<KeyboardItemInfo> SearchIn(const wchar_t* text, const std::vector<int>& filter);

  KeyboardInputMappingTable& Table() { return *m_pTable; }
  CTerminalEnv* Env() const { return m_pEnv.get(); }

 private:
  void RegisterSecurities(const std::vector<KeyboardItemInfo>& items);

  TRefPtr<CTerminalEnv> m_pEnv;
  TRefPtr<CSecurityMaster> m_pMaster;
  KeyboardInputMappingTable* m_pTable;
};
