#include "SuggestListHost.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

#include "Pump.h"
#include "window/SmartKeyboardDlg.h"

int CountOf(const CRecordingWnd& wnd, UINT message) {
  int n = 0;
  for (const ReceivedMessage& m : wnd.m_received) n += m.message == message;
  return n;
}

const ReceivedMessage* LastOf(const CRecordingWnd& wnd, UINT message) {
  for (auto it = wnd.m_received.rbegin(); it != wnd.m_received.rend(); ++it)
    if (it->message == message) return &*it;
  return nullptr;
}

BEGIN_MESSAGE_MAP(CRecordingParent, CWnd)
ON_NOTIFY(SLN_ACTIVATED, IDC_SUGGEST_LIST, OnListActivated)
END_MESSAGE_MAP()

void CRecordingParent::OnListActivated(NMHDR* header, LRESULT* result) {
  activations.push_back(header->hwndFrom);
  *result = 0;
}

std::wstring TempHistoryPath() {
  static int serial = 0;
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"hkm-list-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++serial) + L".dat";
}

SuggestListHost::SuggestListHost(int w, int h)
    : list(new CSuggestListWnd(&table)), historyPath(TempHistoryPath()), width(w), height(h) {
  DeleteFileW(historyPath.c_str());
  Peer().UseHistoryFile(historyPath);
  RECT none = {0, 0, 10, 10};
  commandWnd.CreateEx(0, nullptr, L"command", WS_POPUP, none, nullptr, 0);
  env.env()->SetCommandWnd(commandWnd.m_hWnd);
  RECT frame = {kLeft, kTop, kLeft + w, kTop + h};
  parent.CreateEx(WS_EX_TOOLWINDOW, nullptr, L"pop-up", WS_POPUP | WS_VISIBLE, frame, nullptr, 0);
  RECT area = {0, 0, w, h};
  list->CreateEx(0, nullptr, L"显示框", WS_CHILD | WS_VISIBLE, area, &parent, IDC_SUGGEST_LIST);
  PumpPending();
}

SuggestListHost::~SuggestListHost() {
  list.reset();
  parent.DestroyWindow();
  commandWnd.DestroyWindow();
  DeleteFileW(historyPath.c_str());
  PumpPending();
}

KeyboardItemInfo SuggestListHost::Result(int i) {
  wchar_t code[16], hotKey[16], name[16];
  swprintf(code, 16, L"6000%02d", i);
  swprintf(hotKey, 16, L"ZQ%02d", i);
  swprintf(name, 16, L"证券%02d", i);
  env.securities()->AddSecurity(code, 1, name);
  KeyboardItemInfo item(code, hotKey, name, 0x0102, 1000 + i, nullptr, 0, KEYBOARD_SELECT_BEGIN);
  item.m_cMarket = 1;
  return item;
}

void SuggestListHost::ShowResults(int n, const wchar_t* text) {
  std::vector<KeyboardItemInfo> results;
  for (int i = 0; i < n; ++i) results.push_back(Result(i));
  Peer().ShowResults(text, std::move(results));
}

LPARAM SuggestListHost::RowPoint(int slot, int x) const {
  const RECT& row = Peer().RowRect(slot);
  return MAKELPARAM(x, (row.top + row.bottom) / 2);
}

long long SuggestListHost::HistoryFileSize() const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(historyPath.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int ColorDistance(COLORREF a, COLORREF b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}
