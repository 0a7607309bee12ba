#include "SearchFixture.h"

#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"

KeyboardItemInfo Security(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                          unsigned short type, unsigned char market, DWORD kind) {
  KeyboardItemInfo item(code, hotKey, name, type, -1, nullptr, kind, KEYBOARD_SELECT_NONE);
  item.m_cMarket = market;
  return item;
}

KeyboardItemInfo Command(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                         unsigned short type, int extra) {
  return KeyboardItemInfo(code, hotKey, name, type, extra, nullptr, KIND_COMMAND,
                          KEYBOARD_SELECT_NONE);
}

KeyboardItemInfo Alias(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                       unsigned short type, unsigned char market) {
  return Security(code, hotKey, name, type, market, KIND_ALIAS);
}

KeyboardItemInfo FormerName(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                            unsigned short type, unsigned char market) {
  return Security(code, hotKey, name, type, market, KIND_FORMER_NAME);
}

std::wstring Row(const KeyboardItemInfo& record) {
  std::wstring row;
  if (record.m_dwKind == KIND_COMMAND) row = L"C:";
  if (record.m_dwKind == KIND_ALIAS) row = L"A:";
  if (record.m_dwKind == KIND_FORMER_NAME) row = L"F:";
  row += record.m_szCode;
  row += L' ';
  row += std::to_wstring(static_cast<int>(record.m_eSelectType));
  return row;
}

std::vector<std::wstring> Rows(const std::vector<KeyboardItemInfo>& results) {
  std::vector<std::wstring> rows;
  for (const KeyboardItemInfo& r : results) rows.push_back(Row(r));
  return rows;
}

SearchBed::SearchBed(bool withDataCentre)
    : m_pEnv(new CTerminalEnv), m_pMaster(new CSecurityMaster), m_pTable(nullptr) {
  if (withDataCentre) m_pEnv->SetDataMgr(m_pMaster.get());
  CGlobalEnv::SetGlobalEnv(m_pEnv.get());
  m_pTable = new KeyboardInputMappingTable;
}

SearchBed::~SearchBed() {
  delete m_pTable;
  CGlobalEnv::SetGlobalEnv(nullptr);
  m_pEnv->SetDataMgr(nullptr);
}

void SearchBed::AddSecurityRecord(const wchar_t* code, unsigned char market, const wchar_t* name) {
  m_pMaster->AddSecurity(code, market, name);
}

void SearchBed::RegisterSecurities(const std::vector<KeyboardItemInfo>& items) {
  for (const KeyboardItemInfo& item : items) {
    if (item.m_dwKind == KIND_FORMER_NAME || item.m_dwKind == KIND_COMMAND ||
        item.m_dwKind == KIND_ALIAS)
      continue;
    m_pMaster->AddSecurity(item.m_szCode, item.m_cMarket, item.m_szName);
  }
}

bool SearchBed::LoadSingle(const std::vector<KeyboardItemInfo>& items) {
  RegisterSecurities(items);
  if (!m_pTable->Lock()) return false;
  bool ok = true;
  for (const KeyboardItemInfo& item : items) ok = m_pTable->AddOneItem(&item, true, false) && ok;
  m_pTable->Unlock();
  return ok;
}

bool SearchBed::LoadBulk(const std::vector<KeyboardItemInfo>& items) {
  RegisterSecurities(items);
  if (!m_pTable->Lock()) return false;
  std::vector<int> allCategories;
  bool ok = m_pTable->AddKeyboardItem(items.data(), static_cast<int>(items.size()), &allCategories,
                                      false);
  m_pTable->Unlock();
  return ok;
}

std::vector<KeyboardItemInfo> SearchBed::Search(const wchar_t* text, bool excludeCommands) {
  std::vector<KeyboardItemInfo> results;
  m_pTable->Search(text, &results, excludeCommands);
  return results;
}

std::vector<KeyboardItemInfo> SearchBed::SearchIn(const wchar_t* text,
                                                  const std::vector<int>& filter) {
  std::vector<KeyboardItemInfo> results;
  m_pTable->SearchInCategories(text, &results, false, &filter);
  return results;
}
