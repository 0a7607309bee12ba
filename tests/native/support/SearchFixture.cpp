#include "SearchFixture.h"

#include "services/SecurityMaster.h"

RowList Rows(const std::vector<KeyboardItemInfo>& results) {
  RowList rows;
  for (const KeyboardItemInfo& r : results) {
    const wchar_t* const kPrefixes[] = {L"F:", L"C:", L"A:"};  // kinds 256 to 258
    const DWORD kind = r.m_dwKind;
    const wchar_t* prefix =
        kind >= KIND_FORMER_NAME && kind <= KIND_ALIAS ? kPrefixes[kind - 256] : L"";
    rows.push_back(prefix + std::wstring(r.m_szCode) + L" " + std::to_wstring(r.m_eSelectType));
  }
  return rows;
}

bool SearchBed::Load(const std::vector<KeyboardItemInfo>& items, bool bulk) {
  for (const KeyboardItemInfo& item : items)
    if (item.m_dwKind < KIND_FORMER_NAME || item.m_dwKind > KIND_ALIAS)
      Master()->AddSecurity(item.m_szCode, item.m_cMarket, item.m_szName);
  if (!m_table.Lock()) return false;
  const bool ok = bulk ? AddAll(m_table, items) : AddEach(m_table, items);
  m_table.Unlock();
  return ok;
}

std::vector<KeyboardItemInfo> SearchBed::Search(const wchar_t* text, bool excludeCommands) {
  std::vector<KeyboardItemInfo> results;
  m_table.Search(text, &results, excludeCommands);
  return results;
}

std::vector<KeyboardItemInfo> SearchBed::SearchIn(const wchar_t* text,
                                                  const std::vector<int>& filter) {
  std::vector<KeyboardItemInfo> results;
  m_table.SearchInCategories(text, &results, false, &filter);
  return results;
}
