// The manager behind IHotKeyManager: it owns the mapping table and the pop-up, guards
// the table with its lock and routes the terminal's calls.
#pragma once

#include "IHotKeyManager.h"

class KeyboardInputMappingTable;
class CSmartKeyboardDlg;

class CHotKeyManager : public IHotKeyManager {
 public:
  CHotKeyManager();
  ~CHotKeyManager() override;

  BOOL Initialize() override;
  BOOL Uninitialize() override;
  BOOL ProcessKeyboardMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL ShowForContainer(CElementContainer* receiver, int x, int y, int placement) override;
  BOOL ShowSmartKeyboard(int32_t ignored, BOOL exactPos, int x, int y) override;
  BOOL ShowForWindow(HWND receiver, int x, int y, int placement) override;
  bool AddKeyboardItems(KeyboardItemInfo* items, int count, std::vector<int>* categories,
                        BOOL skipDuplicateCheck) override;
  bool AddOneKeyboardItem(KeyboardItemInfo* item) override;
  bool SearchKeyboardItems(const wchar_t* text, std::vector<KeyboardItemInfo>* results,
                           bool excludeCommands) override;
  bool SearchKeyboardItemsEx(const wchar_t* text, std::vector<KeyboardItemInfo>* results,
                             const std::vector<int>* categories) override;
  BYTE RetainCommandItems() override;
  bool ClearSource() override;
  bool RemoveMarket(int market) override;
  BOOL RemoveKeyboardItem(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                          const unsigned short* type, const DWORD* kind) override;
  BOOL ReplaceKeyboardItem(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                           const unsigned short* type, const DWORD* kind, const wchar_t* newCode,
                           const wchar_t* newHotKey, const wchar_t* newName,
                           const int* newExtraInfo, IUnknown* newUnknown,
                           const DWORD* newKind) override;

  KeyboardInputMappingTable* MappingTable() const { return m_pMappingTable; }

 private:
  bool AddsAllowed() const;
  void DestroyTable();
  // Makes the pop-up if it has no window; previousFocus gets the focus back after creation.
  BOOL EnsureSmartKeyboardDlg(HWND previousFocus);
  void GetRidOfSmartKeyboardDlg();
  HWND FocusedWindow() const;
  BOOL SendToDialog(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL ShowAt(HWND previousFocus, BOOL exactPos, int x, int y);

  CSmartKeyboardDlg* m_pSmartKeyboardDlg;
  KeyboardInputMappingTable* m_pMappingTable;
};
