#include "MiniTradePanel.h"

#include "GlobalEnv.h"
#include "Unknown.h"

bool IsMiniTradeVisible() {
  TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
  if (!env) return false;
  static const wchar_t kName[] = L"CONTEXT_MINI_TRADE_VISIBLE_STATE";
  IUnknown* value = nullptr;
  env->GetContextValue(&value, kName, kName, 0, 0, 0);
  auto* visible = dynamic_cast<CPackager<bool>*>(value);
  bool result = visible && visible->m_value;
  if (value) value->Release();
  return result;
}
