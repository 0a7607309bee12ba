// The host kit: the terminal's services set up, the component loaded, and both taken down in an
// order that never calls into a module that is gone.
#include "TerminalHost.h"

#include <algorithm>
#include <vector>

#include "HostLog.h"
#include "HostModule.h"
#include "SecurityMaster.h"
#include "SkinPalette.h"
#include "TerminalEnv.h"

namespace {

const wchar_t kMiniTradeVisible[] = L"CONTEXT_MINI_TRADE_VISIBLE_STATE";

typedef HRESULT (*GetClassObjectFn)(IUnknown** ppUnknown, const wchar_t* classId);

// Whether the code of the object's class is still mapped: an object made by a DLL that has been
// unloaded must not be called, not even released. (Best effort: a module loaded later at the same
// address would pass.)
bool ClassCodeLoaded(IUnknown* object) {
  const void* vtable = *reinterpret_cast<void* const*>(object);
  HMODULE module = nullptr;
  return GetModuleHandleExW(
             GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
             static_cast<LPCWSTR>(vtable), &module) != 0;
}

bool IsSecurity(const KeyboardItemInfo& item) {
  return item.m_dwKind != KIND_FORMER_NAME && item.m_dwKind != KIND_COMMAND &&
         item.m_dwKind != KIND_ALIAS && item.m_dwKind != KIND_FULL_PINYIN_ALIAS;
}

}  // namespace

struct CTerminalHost::Impl {
  TRefPtr<CTerminalEnv> env{new CTerminalEnv};
  TRefPtr<CSecurityMaster> master{new CSecurityMaster};
  TRefPtr<CSkinPalette> palette{new CSkinPalette};
  bool installed = false;
  CHostMainFrame ownFrame;
  CHostMainFrame* frame = &ownFrame;
  HMODULE component = nullptr;
  IHotKeyManager* manager = nullptr;
  std::vector<CHostElementContainer*> containers;

  // Ready, or false with a line under the caller's tag.
  bool Ready(const wchar_t* tag) const {
    if (installed && CGlobalEnv::GetGlobalEnv().get() == env.get()) return true;
    ts::WriteLog(tag, L"the host's environment is not the installed one; nothing was done");
    return false;
  }

  // Releases every hand-over never taken back, but not one whose DLL is gone.
  void ReleasePendingHandOvers() {
    size_t leaked = 0;
    for (IUnknown* object : env->TakeAllHandOvers()) {
      if (ClassCodeLoaded(object))
        object->Release();
      else
        ++leaked;
    }
    if (leaked)
      ts::WriteLog(L"[CTerminalHost::ReleasePendingHandOvers]",
                   std::to_wstring(leaked) +
                       L" hand-over(s) made by a module that is no longer loaded were left "
                       L"unreleased: release packages before the component's DLL is freed");
  }
};

CTerminalHost::CTerminalHost() : m_pImpl(new Impl) {
  Impl& impl = *m_pImpl;
  impl.env->SetDataMgr(impl.master.get());
  impl.env->SetPalette(impl.palette.get());
  impl.env->SetMainFrameWnd(impl.frame->GetLookupWnd());
  if (CGlobalEnv::GetGlobalEnv()) {
    ts::WriteLog(L"[CTerminalHost::CTerminalHost]",
                 L"another environment is installed already; this host stays not ready");
    return;
  }
  CGlobalEnv::SetGlobalEnv(impl.env.get());
  impl.installed = true;
}

CTerminalHost::~CTerminalHost() {
  static const wchar_t kTag[] = L"[CTerminalHost::~CTerminalHost]";
  Impl& impl = *m_pImpl;
  for (CHostElementContainer* container : impl.containers) container->m_pHost = nullptr;
  impl.containers.clear();
  UnloadComponent();
  // A component the terminal loaded itself may have made packages too.
  impl.ReleasePendingHandOvers();
  impl.env->SetContextValue(kMiniTradeVisible, nullptr);
  impl.env->SetMainFrameWnd(nullptr);
  impl.env->SetCommandWnd(nullptr);
  if (impl.installed) {
    if (CGlobalEnv::GetGlobalEnv().get() == impl.env.get())
      CGlobalEnv::SetGlobalEnv(nullptr);
    else
      ts::WriteLog(kTag, L"the environment was replaced before the host went; the other one stays");
  }
  impl.env->SetDataMgr(nullptr);
  impl.env->SetPalette(nullptr);
  // Windows of a component the terminal loaded itself may still hold the palette's fonts and
  // bitmaps: the palette stays for them.
  if (GetModuleHandleW(L"HotKeyManagerFactory.dll")) {
    ts::WriteLog(kTag,
                 L"HotKeyManagerFactory.dll is still loaded: the palette is kept for its windows");
    impl.palette->AddRef();
  }
  delete m_pImpl;
}

bool CTerminalHost::IsReady() const {
  return m_pImpl->installed && CGlobalEnv::GetGlobalEnv().get() == m_pImpl->env.get();
}

CGlobalEnv* CTerminalHost::GetEnvironment() const {
  return IsReady() ? m_pImpl->env.get() : nullptr;
}

bool CTerminalHost::LoadComponent(const wchar_t* dllPath) {
  static const wchar_t kTag[] = L"[CTerminalHost::LoadComponent]";
  Impl& impl = *m_pImpl;
  if (!impl.Ready(kTag)) return false;
  if (impl.manager) {
    ts::WriteLog(kTag, L"a component is loaded already");
    return false;
  }
  const std::wstring path =
      dllPath ? std::wstring(dllPath) : ts::ServicesFolder() + L"\\HotKeyManagerFactory.dll";
  HMODULE module = LoadLibraryW(path.c_str());
  if (!module) {
    ts::WriteLog(kTag,
                 L"cannot load " + path + L" (error " + std::to_wstring(GetLastError()) + L")");
    return false;
  }
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "GetClassObject")));
  IUnknown* unknown = nullptr;
  if (!getClassObject || getClassObject(&unknown, HOTKEY_MANAGER_CLSID) != S_OK || !unknown) {
    ts::WriteLog(kTag, path + L" gave no manager for the smart keyboard's class identifier");
    FreeLibrary(module);
    return false;
  }
  IHotKeyManager* manager = static_cast<IHotKeyManager*>(unknown);
  if (!manager->Initialize()) {
    ts::WriteLog(kTag, L"the manager could not make its item store");
    manager->Release();
    FreeLibrary(module);
    return false;
  }
  impl.component = module;
  impl.manager = manager;
  return true;
}

IHotKeyManager* CTerminalHost::Manager() const { return m_pImpl->manager; }

void CTerminalHost::UnloadComponent() {
  Impl& impl = *m_pImpl;
  if (impl.manager) {
    if (ClassCodeLoaded(impl.manager)) {
      impl.manager->Uninitialize();
      impl.manager->Release();
    } else {
      ts::WriteLog(L"[CTerminalHost::UnloadComponent]",
                   L"the component's DLL was freed before its manager was shut down; the "
                   L"manager is left as it is");
    }
    impl.manager = nullptr;
  }
  // The packages the component made live in its DLL: they go before it does.
  impl.ReleasePendingHandOvers();
  if (impl.component) FreeLibrary(impl.component);
  impl.component = nullptr;
}

bool CTerminalHost::SetCommandWindow(HWND wnd) {
  if (!m_pImpl->Ready(L"[CTerminalHost::SetCommandWindow]")) return false;
  m_pImpl->env->SetCommandWnd(wnd);
  return true;
}

CHostMainFrame& CTerminalHost::MainFrame() { return *m_pImpl->frame; }

bool CTerminalHost::UseMainFrame(CHostMainFrame* frame) {
  Impl& impl = *m_pImpl;
  if (!impl.Ready(L"[CTerminalHost::UseMainFrame]")) return false;
  CHostMainFrame* next = frame ? frame : &impl.ownFrame;
  for (CHostElementContainer* container : impl.containers) {
    impl.frame->RemoveContainerWnd(container->GetWnd());
    next->AddContainerWnd(container->GetWnd());
  }
  impl.frame = next;
  impl.env->SetMainFrameWnd(next->GetLookupWnd());
  return true;
}

bool CTerminalHost::SetView(HWND view, int viewType) {
  if (!m_pImpl->Ready(L"[CTerminalHost::SetView]")) return false;
  m_pImpl->frame->SetView(view, viewType);
  return true;
}

bool CTerminalHost::SetSecondView(HWND view, int viewType) {
  if (!m_pImpl->Ready(L"[CTerminalHost::SetSecondView]")) return false;
  m_pImpl->frame->SetSecondView(view, viewType);
  return true;
}

bool CTerminalHost::AddElementContainer(CHostElementContainer* container) {
  static const wchar_t kTag[] = L"[CTerminalHost::AddElementContainer]";
  Impl& impl = *m_pImpl;
  if (!impl.Ready(kTag) || !container) return false;
  if (container->m_pHost == this) return true;
  if (container->m_pHost) {
    ts::WriteLog(kTag, L"the container is registered with another host");
    return false;
  }
  container->m_pHost = this;
  impl.containers.push_back(container);
  impl.frame->AddContainerWnd(container->GetWnd());
  return true;
}

bool CTerminalHost::RemoveElementContainer(CHostElementContainer* container) {
  Impl& impl = *m_pImpl;
  if (!container || container->m_pHost != this) {
    ts::WriteLog(L"[CTerminalHost::RemoveElementContainer]",
                 L"the container is not registered with this host");
    return false;
  }
  container->m_pHost = nullptr;
  impl.containers.erase(std::find(impl.containers.begin(), impl.containers.end(), container));
  impl.frame->RemoveContainerWnd(container->GetWnd());
  // A click elsewhere closes the pop-up, and closing it forgets the container it was opened for.
  if (impl.manager) impl.manager->ProcessKeyboardMessage(WM_LBUTTONDOWN, 0, 0);
  return true;
}

bool CTerminalHost::SetFocusWorkspace(qxWorkspaceDefine workspace) {
  if (!m_pImpl->Ready(L"[CTerminalHost::SetFocusWorkspace]")) return false;
  CElementContainerWnd::m_seCurrentFocusWorkspace = workspace;
  return true;
}

bool CTerminalHost::SetMiniTradeVisible(bool visible) {
  if (!m_pImpl->Ready(L"[CTerminalHost::SetMiniTradeVisible]")) return false;
  TRefPtr<CPackager<bool>> value(new CPackager<bool>(visible));
  m_pImpl->env->SetContextValue(kMiniTradeVisible, value.get());
  return true;
}

bool CTerminalHost::AddSecurity(const wchar_t* code, unsigned char market, const wchar_t* name,
                                unsigned short type, bool depositaryReceipt) {
  if (!m_pImpl->Ready(L"[CTerminalHost::AddSecurity]")) return false;
  return m_pImpl->master->AddSecurity(code, market, name, type, depositaryReceipt);
}

int CTerminalHost::AddSecuritiesOf(const KeyboardItemInfo* items, int count) {
  if (!m_pImpl->Ready(L"[CTerminalHost::AddSecuritiesOf]") || !items) return 0;
  int added = 0;
  for (int i = 0; i < count; ++i)
    if (IsSecurity(items[i]) &&
        m_pImpl->master->AddSecurity(items[i].m_szCode, items[i].m_cMarket, items[i].m_szName,
                                     items[i].m_wType, false))
      ++added;
  return added;
}

int CTerminalHost::LoadSecurities(const wchar_t* path) {
  if (!m_pImpl->Ready(L"[CTerminalHost::LoadSecurities]")) return -1;
  return m_pImpl->master->LoadFile(path);
}

bool CTerminalHost::UseBuiltInSkin(const wchar_t* name) {
  if (!m_pImpl->Ready(L"[CTerminalHost::UseBuiltInSkin]")) return false;
  if (!m_pImpl->palette->LoadBuiltIn(name)) return false;
  m_pImpl->master->BroadcastPaletteChanged();
  return true;
}

// A skin that cannot be read leaves the built-in light skin in its place: the windows hear of
// that change too.
bool CTerminalHost::UseSkinFolder(const wchar_t* folder) {
  if (!m_pImpl->Ready(L"[CTerminalHost::UseSkinFolder]")) return false;
  const bool loaded = m_pImpl->palette->Load(folder);
  if (folder && *folder) m_pImpl->master->BroadcastPaletteChanged();
  return loaded;
}

bool CTerminalHost::UseSkinText(const char* utf8, size_t length, const wchar_t* bitmapFolder) {
  if (!m_pImpl->Ready(L"[CTerminalHost::UseSkinText]")) return false;
  const bool loaded = m_pImpl->palette->LoadText(utf8, length, bitmapFolder);
  if (utf8) m_pImpl->master->BroadcastPaletteChanged();
  return loaded;
}

size_t CTerminalHost::SkinWindowCount() const { return m_pImpl->master->BroadcastWindowCount(); }

int CTerminalHost::TagItems(KeyboardItemInfo* items, int count) {
  if (!items) return 0;
  int tagged = 0;
  for (int i = 0; i < count; ++i) {
    if (items[i].m_pUnknown) continue;
    // The record holds the one reference, as its own members would take it.
    IUnknown* tag = new CHostItemTag(items[i]);
    tag->AddRef();
    items[i].m_pUnknown = tag;
    ++tagged;
  }
  return tagged;
}

size_t CTerminalHost::PendingHandOverCount() const { return m_pImpl->env->PendingHandOverCount(); }
