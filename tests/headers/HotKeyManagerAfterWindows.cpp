// <HotKeyManager/HotKeyManager.h> after all of <windows.h> (min and max macros included), as most
// terminals include it, with the record layout the embedding guide gives for x64.
#include <windows.h>

#include <HotKeyManager/HotKeyManager.h>

#include <cstddef>

static_assert(sizeof(KeyboardItemInfo) == 200 && alignof(KeyboardItemInfo) == 8, "x64 record");
static_assert(offsetof(KeyboardItemInfo, m_szHotKey) == 34, "hot key");
static_assert(offsetof(KeyboardItemInfo, m_szName) == 100, "name");
static_assert(offsetof(KeyboardItemInfo, m_wType) == 166, "type word");
static_assert(offsetof(KeyboardItemInfo, m_nExtraInfo) == 168, "extra information");
static_assert(offsetof(KeyboardItemInfo, m_pUnknown) == 176, "attached object");
static_assert(offsetof(KeyboardItemInfo, m_dwKind) == 184, "kind");
static_assert(offsetof(KeyboardItemInfo, m_cMarket) == 188, "market");
static_assert(offsetof(KeyboardItemInfo, m_eSelectType) == 192, "select type");
static_assert(sizeof(_STOCK_DEFINE) == 17 && sizeof(_ELEMENT_EVENT_INFO) == 40, "packages");
