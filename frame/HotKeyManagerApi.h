// The smart keyboard for a terminal: the one header a terminal includes to use
// HotKeyManagerFactory.dll. Installed as <HotKeyManager/HotKeyManager.h>; docs/embedding.md (in
// share/HotKeyManager of an installed copy) is the guide.
//
// Getting the interface. The DLL exports three plain C names: GetClassObject, Init and Release
// (the last two do nothing and return 0). GetClassObject(&unknown, HOTKEY_MANAGER_CLSID) hands out
// a new manager with one reference; the pointer is its IHotKeyManager. Link the import library
// (the CMake target HotKeyManager::HotKeyManagerFactory), or load the DLL and look GetClassObject
// up with GetProcAddress:
//
//   IUnknown* unknown = nullptr;
//   if (GetClassObject(&unknown, HOTKEY_MANAGER_CLSID) == S_OK) {
//     IHotKeyManager* manager = static_cast<IHotKeyManager*>(unknown);
//     manager->Initialize();                   // the item store
//     ... AddKeyboardItems, ProcessKeyboardMessage ...
//     manager->Uninitialize();                 // pop-up and store; before the last Release
//     manager->Release();
//   }
//
// The component needs the terminal's global environment (CGlobalEnv) installed before items are
// added or the pop-up opens: TerminalServices.dll provides one, and <HotKeyManager/TerminalHost.h>
// sets everything up in one object.
//
// Items. KeyboardItemInfo (frame/KeyboardItemInfo.h) is the record of one item: code (at most 16
// characters), hot key and name (at most 32 each), type word, extra information (a command's
// number), kind (KIND_FORMER_NAME, KIND_COMMAND, KIND_ALIAS, KIND_FULL_PINYIN_ALIAS, anything
// else a security), market, and one attached object the record holds a reference on. Its
// constructors, assignment, comparison and CopyRemoveIUnknownPtr are members exported by the DLL;
// the record's layout is shared with the terminal. The manager copies what it is given.
//
// What a pick sends the terminal (frame/Messages.h):
// - WM_RUN_COMMAND (0x51C), posted to the command window: wParam the item's extra information,
//   lParam the hand-over value of the item's attached object (0 when it has none). A command with
//   extra information 73 carries a CPackager<KeyboardItemInfo> of itself.
// - WM_COMMAND_FROM_POPUP (0x601), posted after it when the pop-up was opened at an exact place
//   with ShowSmartKeyboard: wParam 0, lParam 5. Nothing to take back.
// - WM_STOCK_SELECTED (0x500), posted to the window given to ShowForWindow: lParam the hand-over
//   value of a CPackager<_STOCK_DEFINE> (market byte, code in 16 bytes).
// - WM_ELEMENT_EVENT (0x503), sent synchronously through CElementContainer::SendMessageW to the
//   container given to ShowForContainer: lParam the hand-over value of a
//   CPackager<_ELEMENT_EVENT_INFO>, whose parameter text
//   "<params><code>CODE</code><market>N</market></params>" lives only while the send runs.
// A hand-over value is what the environment's RegisterHandOver returned for the object; the
// terminal takes the object back with it (CTerminalEnv::TakeHandOver, or
// CTerminalHost::TakeHandOver, which keeps LPARAM whole), then casts it with dynamic_cast to the
// package type and releases it. Packages are objects of the DLL: release them while it is loaded.
//
// The market and number helpers of the data centre's CDataComFun (frame/DataComFun.h) are also
// exported by the DLL: IsQiQuan, IsUSAStock, IsUKStock, IsZeroValue, IsPositive, IsNegative,
// CalcZhangDie.
//
// Portable: on Windows the platform types come from the SDK (<windows.h>, <unknwn.h>), elsewhere
// from platform/WinTypes.h. Everything here is C++ with the compiler's C++ ABI: members need the
// same compiler family as the DLL (mingw-w64 g++); the three C exports do not.
#pragma once

#include "DataComFun.h"
#include "FrameLib.h"
#include "IHotKeyManager.h"
#include "KeyboardItemInfo.h"
#include "Messages.h"
#include "Unknown.h"
