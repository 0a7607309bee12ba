// The terminal's data centre: the security master and the broadcast of skin changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Export.h"
#include "Unknown.h"

// The data centre's security record. The component reads the name at byte 0 (GB2312), the code
// at byte 52 and the market at byte 68.
struct STK_PER {
  char m_szName[52];
  char m_szCode[16];
  unsigned char m_cMarket;
  unsigned char m_bDepositaryReceipt;
  unsigned short m_wType;
};
static_assert(offsetof(STK_PER, m_szCode) == 52, "code at byte 52");
static_assert(offsetof(STK_PER, m_cMarket) == 68, "market at byte 68");

struct _ZIDING_STOCK_LIST_;
struct MARKET_INFO {
  unsigned char m_cMarket;
};
template <class T>
class CArray;

// Broadcast sent to every registered window; wParam 135 announces a skin change.
const UINT WM_DATACENTER_BROADCAST = 0x0537;
const WPARAM BROADCAST_PALETTE_CHANGED = 135;

class CDataMgr : public CUnknown {
 public:
  // The security record of (code, market), or null when the security is unknown.
  virtual const STK_PER* GetOneStkInfo(const std::wstring& code, unsigned char market) = 0;
  virtual void RegistRecvBroadcastMsgWnd(HWND wnd) = 0;
  virtual void UnregistRecvBroadcastMsgWnd(HWND wnd) = 0;

  // Supplied by the component for the terminal's linker; they do nothing.
  HKM_API void SetSelfStk(CArray<_ZIDING_STOCK_LIST_*>* list);
  HKM_API void GetOldSerMarkets(std::vector<MARKET_INFO>& markets);
  HKM_API bool AddOneSeltStk(char* code, int market);
};

// A request record of the data centre; the component only carries its copy members.
class HKM_API Request : public CUnknown {
 public:
  Request();
  Request(const Request& other);
  Request& operator=(const Request& other);
  ~Request() override;

  int32_t m_nField1;
  int32_t m_nField2;
  unsigned char m_block1[256];
  int32_t m_nField3;
  int32_t m_nField4;
  unsigned char m_block2[16];
  unsigned char m_block3[8];
};
