#include "PopupFixture.h"

#include <cwchar>

#include "Pump.h"
#include "window/InputEdit.h"
#include "window/SuggestListWnd.h"

KeyboardItemInfo PopupSecurity(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                               unsigned short type, unsigned char market, int extra) {
  KeyboardItemInfo item(code, hotKey, name, type, extra, nullptr, 0, KEYBOARD_SELECT_NONE);
  item.m_cMarket = market;
  return item;
}

void PopupTest::SetUp() {
  m_terminal.reset(new TestTerminal);
  CSecurityMaster* securities = m_terminal->m_env.securities();
  securities->AddSecurity(L"600000", 1, L"浦发银行");
  securities->AddSecurity(L"600036", 1, L"招商银行");
  securities->AddSecurity(L"000001", 0, L"平安银行");
  IUnknown* unknown = nullptr;
  ASSERT_EQ(GetClassObject(&unknown, HOTKEY_MANAGER_CLSID), S_OK);
  m_manager = static_cast<IHotKeyManager*>(unknown);
  m_terminal->m_view.m_pManager = m_manager;
  ASSERT_TRUE(m_manager->Initialize());
  std::vector<KeyboardItemInfo> items = {
      PopupSecurity(L"600000", L"PFYH", L"浦发银行", 0x0102, 1, 1001),
      PopupSecurity(L"600036", L"ZSYH", L"招商银行", 0x0102, 1, 1002),
      PopupSecurity(L"000001", L"PAYH", L"平安银行", 0x0006, 0, 1003),
  };
  for (int i = 0; i < 30; ++i) {
    wchar_t code[8];
    swprintf(code, 8, L"6011%02d", i);
    items.push_back(PopupSecurity(code, L"SYNT", L"合成", 0x0102, 1, 2000 + i));
  }
  ASSERT_TRUE(
      m_manager->AddKeyboardItems(items.data(), static_cast<int>(items.size()), nullptr, FALSE));
}

void PopupTest::TearDown() {
  if (m_manager) {
    m_manager->Uninitialize();
    m_manager->Release();
  }
  m_terminal.reset();
}

CSmartKeyboardDlg* PopupTest::Dialog() const {
  HWND wnd = FindWindowW(L"#32770", nullptr);
  return static_cast<CSmartKeyboardDlg*>(CWnd::FromHandlePermanent(wnd));
}

bool PopupTest::PopupVisible() const {
  CSmartKeyboardDlg* dialog = Dialog();
  return dialog && dialog->IsWindowVisible();
}

void PopupTest::KeyIntoEdit(UINT vk) {
  CSmartKeyboardDlg* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  Peer().Edit().SendMessageW(WM_KEYDOWN, vk, 1);
  PumpPending();
}

std::vector<std::wstring> PopupTest::ListedCodes() const {
  std::vector<std::wstring> codes;
  for (const KeyboardItemInfo& item : Peer().ListPeer().Results()) codes.push_back(item.m_szCode);
  return codes;
}

std::vector<std::wstring> PopupTest::SearchedCodes(const wchar_t* text) {
  std::vector<KeyboardItemInfo> results;
  m_manager->SearchKeyboardItems(text, &results, false);
  std::vector<std::wstring> codes;
  for (const KeyboardItemInfo& item : results) codes.push_back(item.m_szCode);
  return codes;
}

RECT PopupTest::PopupRect() const {
  RECT rect = {};
  Dialog()->GetWindowRect(&rect);
  return rect;
}
