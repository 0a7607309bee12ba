#include "HotKeyManager.h"

#include <cwchar>
#include <new>

#include "GlobalEnv.h"
#include "Messages.h"
#include "MiniTradePanel.h"
#include "SmartKeyboardPopup.h"
#include "table/MappingTable.h"

namespace {

const UINT MSG_KEYDOWN = 0x100;
const UINT MSG_KEYUP = 0x101;
const UINT MSG_CHAR = 0x102;
const UINT MSG_IME_COMPOSITION = 0x10F;
const UINT MSG_IME_CHAR = 0x286;
const LPARAM IME_RESULT_STRING = 0x800;
const UINT MSG_FIRST_BUTTON = 0x201;
const UINT MSG_LAST_BUTTON = 0x209;

// Ties a forwarded key-down to the one character message that follows it.
bool s_bKeyDownForwarded = false;

// Runs a store operation under the table lock; false when the lock could not be taken. Running
// out of memory inside the store must neither leave the lock taken nor reach the terminal.
template <class Operation>
bool UnderLock(KeyboardInputMappingTable* table, Operation operation) {
  if (!table->Lock()) return false;
  try {
    operation();
  } catch (...) {
  }
  table->Unlock();
  return true;
}

}  // namespace

CHotKeyManager::CHotKeyManager() : m_pSmartKeyboardDlg(nullptr), m_pMappingTable(nullptr) {}

// The table and the pop-up are not freed here: they go with Uninitialize, which the terminal
// calls before its last Release. CUnknown's destructor frees the name.
CHotKeyManager::~CHotKeyManager() = default;

BOOL CHotKeyManager::Initialize() {
  GetRidOfSmartKeyboardDlg();
  DestroyTable();
  auto* table = new (std::nothrow) KeyboardInputMappingTable;
  if (!table) return FALSE;
  if (!table->m_pItems || !table->m_pSlots || !table->m_pHitFlags) {
    delete table;
    return FALSE;
  }
  m_pMappingTable = table;
  return TRUE;
}

BOOL CHotKeyManager::Uninitialize() {
  GetRidOfSmartKeyboardDlg();
  DestroyTable();
  return TRUE;
}

void CHotKeyManager::DestroyTable() {
  delete m_pMappingTable;
  m_pMappingTable = nullptr;
}

namespace {

ISmartKeyboardPopup* g_pPopup = nullptr;

}  // namespace

void RegisterSmartKeyboardPopup(ISmartKeyboardPopup* popup) { g_pPopup = popup; }

ISmartKeyboardPopup* SmartKeyboardPopup() { return g_pPopup; }

// No pop-up without a table: no window may ever hold a table that is gone.
BOOL CHotKeyManager::EnsureSmartKeyboardDlg(HWND previousFocus) {
  ISmartKeyboardPopup* popup = SmartKeyboardPopup();
  if (!popup || !m_pMappingTable) return FALSE;
  if (m_pSmartKeyboardDlg && popup->HasWindow(m_pSmartKeyboardDlg)) return TRUE;
  return popup->InitDialog(m_pSmartKeyboardDlg, m_pMappingTable, previousFocus);
}

void CHotKeyManager::GetRidOfSmartKeyboardDlg() {
  ISmartKeyboardPopup* popup = SmartKeyboardPopup();
  if (popup) popup->GetRidOfDialog(m_pSmartKeyboardDlg);
  m_pSmartKeyboardDlg = nullptr;
}

HWND CHotKeyManager::FocusedWindow() const {
  ISmartKeyboardPopup* popup = SmartKeyboardPopup();
  return popup ? popup->FocusedWindow() : nullptr;
}

BOOL CHotKeyManager::SendToDialog(UINT message, WPARAM wParam, LPARAM lParam) {
  ISmartKeyboardPopup* popup = SmartKeyboardPopup();
  if (popup && m_pSmartKeyboardDlg && popup->HasWindow(m_pSmartKeyboardDlg))
    popup->SendToDialog(m_pSmartKeyboardDlg, message, wParam, lParam);
  return TRUE;
}

BOOL CHotKeyManager::ProcessKeyboardMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MSG_KEYDOWN:
      if (!EnsureSmartKeyboardDlg(FocusedWindow())) return FALSE;
      SendToDialog(message, wParam, lParam);
      s_bKeyDownForwarded = true;
      return TRUE;
    case MSG_KEYUP:
      s_bKeyDownForwarded = false;
      return TRUE;
    case MSG_CHAR:
    case MSG_IME_CHAR:
      // An input method in full-width mode hands its digits and letters over as WM_IME_CHAR,
      // which default processing turns into WM_CHAR: whichever comes first is the key's
      // character, and it reaches the edit as a character either way.
      if (!s_bKeyDownForwarded) return TRUE;
      s_bKeyDownForwarded = false;
      if (!EnsureSmartKeyboardDlg(FocusedWindow())) return FALSE;
      return SendToDialog(MSG_CHAR, wParam, lParam);
    case MSG_IME_COMPOSITION:
      if (!(lParam & IME_RESULT_STRING)) return TRUE;
      // The key's characters arrive as this result; those that echo it are not the key's own.
      s_bKeyDownForwarded = false;
      if (!EnsureSmartKeyboardDlg(FocusedWindow())) return FALSE;
      return SendToDialog(message, wParam, lParam);
    default:
      if (message >= MSG_FIRST_BUTTON && message <= MSG_LAST_BUTTON) {
        if (!EnsureSmartKeyboardDlg(FocusedWindow())) return FALSE;
        return SendToDialog(WM_SMARTKEYBOARD_HIDE, 0, 0);
      }
      return TRUE;
  }
}

BOOL CHotKeyManager::ShowAt(HWND previousFocus, BOOL exactPos, int x, int y) {
  return SmartKeyboardPopup()->ShowDialog(m_pSmartKeyboardDlg, previousFocus, exactPos, x, y);
}

BOOL CHotKeyManager::ShowForContainer(CElementContainer* receiver, int x, int y, int placement) {
  HWND focus = FocusedWindow();
  if (!EnsureSmartKeyboardDlg(focus)) return FALSE;
  m_pMappingTable->m_nOpenMode = OPEN_MODE_EXACT_POSITION;
  m_pMappingTable->m_pTargetContainer = receiver;
  m_pMappingTable->m_hTargetWnd = nullptr;
  m_pMappingTable->m_nPlacement = placement;
  return ShowAt(focus, TRUE, x, y);
}

BOOL CHotKeyManager::ShowSmartKeyboard(int32_t, BOOL exactPos, int x, int y) {
  if (m_pMappingTable && IsMiniTradeVisible()) return FALSE;
  HWND focus = FocusedWindow();
  if (!EnsureSmartKeyboardDlg(focus)) return FALSE;
  m_pMappingTable->m_nOpenMode = exactPos ? OPEN_MODE_EXACT_POSITION : OPEN_MODE_TYPED;
  return ShowAt(focus, exactPos, x, y);
}

BOOL CHotKeyManager::ShowForWindow(HWND receiver, int x, int y, int placement) {
  HWND focus = FocusedWindow();
  if (!EnsureSmartKeyboardDlg(focus)) return FALSE;
  m_pMappingTable->m_nOpenMode = OPEN_MODE_EXACT_POSITION;
  m_pMappingTable->m_pTargetContainer = nullptr;
  m_pMappingTable->m_hTargetWnd = receiver;
  m_pMappingTable->m_nPlacement = placement;
  return ShowAt(focus, TRUE, x, y);
}

bool CHotKeyManager::AddsAllowed() const {
  TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
  return env && !env->IsClosing() && m_pMappingTable;
}

bool CHotKeyManager::AddKeyboardItems(KeyboardItemInfo* items, int count,
                                      std::vector<int>* categories, BOOL skipDuplicateCheck) {
  if (!AddsAllowed()) return false;
  // The terminal is not told what the store made of the items, nor that the lock failed.
  std::vector<int> allCategories;
  UnderLock(m_pMappingTable, [&] {
    m_pMappingTable->AddKeyboardItem(items, count, categories ? categories : &allCategories,
                                     skipDuplicateCheck != FALSE);
  });
  return true;
}

bool CHotKeyManager::AddOneKeyboardItem(KeyboardItemInfo* item) {
  if (!AddsAllowed()) return false;
  return UnderLock(m_pMappingTable, [&] { m_pMappingTable->AddOneItem(item, true, false); });
}

bool CHotKeyManager::SearchKeyboardItems(const wchar_t* text,
                                         std::vector<KeyboardItemInfo>* results,
                                         bool excludeCommands) {
  if (!m_pMappingTable) return false;
  return m_pMappingTable->Search(text, results, excludeCommands);
}

bool CHotKeyManager::SearchKeyboardItemsEx(const wchar_t* text,
                                           std::vector<KeyboardItemInfo>* results,
                                           const std::vector<int>* categories) {
  if (!m_pMappingTable) return false;
  return m_pMappingTable->SearchInCategories(text, results, false, categories);
}

BYTE CHotKeyManager::RetainCommandItems() {
  if (!m_pMappingTable) return 0;
  return m_pMappingTable->RetainCommandItems() ? 1 : 0;
}

bool CHotKeyManager::ClearSource() {
  return m_pMappingTable && UnderLock(m_pMappingTable, [&] { m_pMappingTable->ClearSource(); });
}

bool CHotKeyManager::RemoveMarket(int market) {
  return m_pMappingTable && UnderLock(m_pMappingTable, [&] {
           m_pMappingTable->RemoveMarket(static_cast<unsigned char>(market & 0xFF));
         });
}

BOOL CHotKeyManager::RemoveKeyboardItem(const wchar_t* code, const wchar_t* hotKey,
                                        const wchar_t* name, const unsigned short* type,
                                        const DWORD* kind) {
  bool locked = m_pMappingTable && UnderLock(m_pMappingTable, [&] {
                  m_pMappingTable->RemoveItem(code, hotKey, name, type, kind);
                });
  return locked ? TRUE : FALSE;
}

BOOL CHotKeyManager::ReplaceKeyboardItem(const wchar_t* code, const wchar_t* hotKey,
                                         const wchar_t* name, const unsigned short* type,
                                         const DWORD* kind, const wchar_t* newCode,
                                         const wchar_t* newHotKey, const wchar_t* newName,
                                         const int* newExtraInfo, IUnknown* newUnknown,
                                         const DWORD* newKind) {
  bool locked = m_pMappingTable && UnderLock(m_pMappingTable, [&] {
                  m_pMappingTable->ReplaceItem(code, hotKey, name, type, kind, newCode, newHotKey,
                                               newName, newExtraInfo, newUnknown, newKind);
                });
  return locked ? TRUE : FALSE;
}

extern "C" HKM_API HRESULT GetClassObject(IUnknown** ppUnknown, const wchar_t* classId) {
  if (!ppUnknown || *ppUnknown || !classId) return E_FAIL;
  if (wcscmp(classId, HOTKEY_MANAGER_CLSID) != 0) return E_FAIL;
  CHotKeyManager* manager = new (std::nothrow) CHotKeyManager;
  *ppUnknown = static_cast<IHotKeyManager*>(manager);
  if (!manager) return E_FAIL;
  manager->AddRef();
  return S_OK;
}

extern "C" HKM_API int Init() { return 0; }

extern "C" HKM_API int Release() { return 0; }
