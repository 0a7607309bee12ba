// The one interface the terminal holds. Slots 0 to 6 come from CUnknown; the order of the
// slots below is part of the binary interface.
#pragma once

#include <vector>

#include "KeyboardItemInfo.h"
#include "Unknown.h"

class CElementContainer;

// Which corner of the pop-up ShowForContainer and ShowForWindow put on their point; any other
// value puts the bottom-right corner there.
enum PopupPlacement : int {
  PLACEMENT_NONE = -1,  // no show request with a receiver is pending
  PLACEMENT_TOP_LEFT = 0,
  PLACEMENT_BOTTOM_LEFT = 1,
  PLACEMENT_TOP_RIGHT = 2,
  PLACEMENT_BOTTOM_RIGHT = 3,
};

// Class identifier string that GetClassObject accepts, compared case-sensitively.
#define HOTKEY_MANAGER_CLSID L"{86C58490-9422-478d-B21C-7EF0B28503F1}"

class IHotKeyManager : public CUnknown {
 public:
  virtual BOOL Initialize() = 0;                                                        // 7
  virtual BOOL Uninitialize() = 0;                                                      // 8
  virtual BOOL ProcessKeyboardMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;  // 9
  virtual BOOL ShowForContainer(CElementContainer* receiver, int x, int y,
                                int placement) = 0;                                  // 10
  virtual BOOL ShowSmartKeyboard(int32_t ignored, BOOL exactPos, int x, int y) = 0;  // 11
  virtual BOOL ShowForWindow(HWND receiver, int x, int y, int placement) = 0;        // 12
  virtual bool AddKeyboardItems(KeyboardItemInfo* items, int count, std::vector<int>* categories,
                                BOOL skipDuplicateCheck) = 0;   // 13
  virtual bool AddOneKeyboardItem(KeyboardItemInfo* item) = 0;  // 14
  virtual bool SearchKeyboardItems(const wchar_t* text, std::vector<KeyboardItemInfo>* results,
                                   bool excludeCommands) = 0;  // 15
  virtual bool SearchKeyboardItemsEx(const wchar_t* text, std::vector<KeyboardItemInfo>* results,
                                     const std::vector<int>* categories) = 0;  // 16
  virtual BYTE RetainCommandItems() = 0;                                       // 17
  virtual bool ClearSource() = 0;                                              // 18
  virtual bool RemoveMarket(int market) = 0;                                   // 19
  virtual BOOL RemoveKeyboardItem(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                                  const unsigned short* type, const DWORD* kind) = 0;  // 20
  virtual BOOL ReplaceKeyboardItem(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                                   const unsigned short* type, const DWORD* kind,
                                   const wchar_t* newCode, const wchar_t* newHotKey,
                                   const wchar_t* newName, const int* newExtraInfo,
                                   IUnknown* newUnknown, const DWORD* newKind) = 0;  // 21
};

// The factory: hands out a new manager with one reference, or E_FAIL.
extern "C" HKM_API HRESULT GetClassObject(IUnknown** ppUnknown, const wchar_t* classId);
extern "C" HKM_API int Init();
extern "C" HKM_API int Release();
