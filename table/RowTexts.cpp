#include "table/RowTexts.h"

#include "frame/DataComFun.h"
#include "platform/Platform.h"
#include "table/MappingTable.h"

namespace {

const unsigned char MARKET_OPEN_FUNDS = 150;

}  // namespace

bool GetRowTexts(const KeyboardInputMappingTable* table, std::wstring& category, std::wstring& code,
                 std::wstring& name, int index, const std::vector<KeyboardItemInfo>& items) {
  if (!table || index < 0 || static_cast<size_t>(index) >= items.size()) return false;
  const KeyboardItemInfo& item = items[static_cast<size_t>(index)];
  // Room for the 16 characters of a code in any code page; a code that does not convert whole is
  // still asked about as far as it went.
  char ansiCode[72];
  plat::ToAnsi(item.m_szCode, ansiCode, sizeof(ansiCode));
  if (CDataComFun::IsCdr(item.m_cMarket, ansiCode)) {
    category = L"CDR";
  } else {
    int type = item.m_wType;
    DWORD kind = item.m_dwKind;
    category = CategoryName(CategoryOf(&item, &type, &kind, 1));
  }
  code = item.m_szCode;
  if (item.m_cMarket == MARKET_OPEN_FUNDS) code += L".OF";
  name = item.m_szName;
  return true;
}
