// Security classification of the data centre.
#include <cstring>
#include <string>

#include "GlobalEnvAccess.h"
#include "frame/DataComFun.h"
#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"

namespace {

const unsigned char kMarketShanghai = 1;

bool IsSixDigits(const char* code) {
  for (int i = 0; i < 6; ++i)
    if (code[i] < '0' || code[i] > '9') return false;
  return code[6] == '\0';
}

// Asks the installed data centre whether it marks (code, market) as a depositary receipt.
bool MarkedAsDepositaryReceipt(unsigned char market, const char* code) {
  TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
  if (!env) return false;
  TRefPtr<CDataMgr> dataMgr = ts::QueryDataMgr(env.get());
  if (!dataMgr) return false;
  std::wstring wideCode;
  for (const char* p = code; *p; ++p) wideCode.push_back(static_cast<unsigned char>(*p));
  const STK_PER* record = dataMgr->GetOneStkInfo(wideCode, market);
  return record && record->m_bDepositaryReceipt;
}

}  // namespace

bool CDataComFun::IsBJAGu(const char* code, unsigned char /*market*/) {
  if (!code || !IsSixDigits(code)) return false;
  static const char* const kPrefixes[] = {"43", "83", "87", "88", "92"};
  for (const char* prefix : kPrefixes)
    if (code[0] == prefix[0] && code[1] == prefix[1]) return true;
  return false;
}

bool CDataComFun::IsCdr(unsigned char market, const char* code) {
  if (!code || !*code) return false;
  if (market == kMarketShanghai && strncmp(code, "689", 3) == 0) return true;
  return MarkedAsDepositaryReceipt(market, code);
}
