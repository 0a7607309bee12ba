// <HotKeyManager/HotKeyManager.h> alone gives a terminal what it uses of the component.
#include <HotKeyManager/HotKeyManager.h>

static_assert(sizeof(_STOCK_DEFINE) == 17, "the security reference of 0x500");
static_assert(WM_RUN_COMMAND == 0x51C && WM_STOCK_SELECTED == 0x500 && WM_ELEMENT_EVENT == 0x503,
              "the messages a pick sends");

namespace {

// Reads what a terminal reads, so that the declarations are used, not just parsed.
[[maybe_unused]] bool ReadsAPick(IUnknown* handedOver, IHotKeyManager* manager) {
  const wchar_t* classId = HOTKEY_MANAGER_CLSID;
  auto* stock = dynamic_cast<CPackager<_STOCK_DEFINE>*>(handedOver);
  auto* event = dynamic_cast<CPackager<_ELEMENT_EVENT_INFO>*>(handedOver);
  return classId && (stock || event) && manager->ShowSmartKeyboard(0, FALSE, 0, 0) &&
         CDataComFun::IsQiQuan(10) && PLACEMENT_TOP_LEFT == 0 && KIND_COMMAND == 257 &&
         sizeof(KeyboardItemInfo::m_szCode) == 17 * sizeof(wchar_t);
}

}  // namespace
