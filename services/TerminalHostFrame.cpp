// The host kit's main frame and element container: what the component looks up behind the
// environment's main-frame handle, made of plain window handles.
#include <algorithm>
#include <vector>

#include "HostLog.h"
#include "TerminalHost.h"
#include "wfc/Wnd.h"

namespace {

// A terminal's window as the component holds a view: the handle alone. The framework neither
// subclasses it nor maps it, and this object never destroys it.
class CViewHandle : public CWnd {
 public:
  ~CViewHandle() override { m_hWnd = nullptr; }
};

// What the component finds behind the main-frame handle: a framework window of its own (so that
// the framework's handle map leads to it) that is the view manager, answering through the
// terminal's frame object.
class CFrameLookupWnd : public CWnd, public CViewManager {
 public:
  explicit CFrameLookupWnd(CHostMainFrame* owner) : m_pOwner(owner) {}

  BOOL IsContainerWnd(HWND wnd) override { return m_pOwner->IsContainerWnd(wnd) ? TRUE : FALSE; }
  int GetViewType(CWnd* view) override {
    return m_pOwner->GetViewType(view ? view->m_hWnd : nullptr);
  }

  CViewHandle m_first;
  CViewHandle m_second;

 private:
  CHostMainFrame* m_pOwner;
};

}  // namespace

struct CHostMainFrame::Impl {
  explicit Impl(CHostMainFrame* owner) : lookup(owner) {}

  CFrameLookupWnd lookup;
  int firstType = 0;
  int secondType = 0;
  std::vector<HWND> containers;
};

CHostMainFrame::CHostMainFrame() : m_pImpl(new Impl(this)) {
  // Hidden and never shown: it exists for its handle.
  const RECT none = {0, 0, 0, 0};
  if (!m_pImpl->lookup.CreateEx(0, nullptr, L"HotKeyManager main frame", WS_POPUP, none, nullptr,
                                0))
    ts::WriteLog(L"[CHostMainFrame::CHostMainFrame]",
                 L"cannot create the main frame's window (error " +
                     std::to_wstring(GetLastError()) + L"); the pop-up finds no main frame");
}

CHostMainFrame::~CHostMainFrame() { delete m_pImpl; }

HWND CHostMainFrame::GetLookupWnd() const { return m_pImpl->lookup.GetSafeHwnd(); }

void CHostMainFrame::SetView(HWND view, int viewType) {
  m_pImpl->lookup.m_first.m_hWnd = view;
  m_pImpl->lookup.m_pFirstView = view ? &m_pImpl->lookup.m_first : nullptr;
  m_pImpl->firstType = viewType;
}

void CHostMainFrame::SetSecondView(HWND view, int viewType) {
  m_pImpl->lookup.m_second.m_hWnd = view;
  m_pImpl->lookup.m_pSecondView = view ? &m_pImpl->lookup.m_second : nullptr;
  m_pImpl->secondType = viewType;
}

HWND CHostMainFrame::GetCurrentView() const {
  const CFrameLookupWnd& lookup = m_pImpl->lookup;
  CWnd* view = lookup.m_pSecondView ? lookup.m_pSecondView : lookup.m_pFirstView;
  return view ? view->m_hWnd : nullptr;
}

void CHostMainFrame::AddContainerWnd(HWND wnd) {
  if (wnd) m_pImpl->containers.push_back(wnd);
}

void CHostMainFrame::RemoveContainerWnd(HWND wnd) {
  std::vector<HWND>& containers = m_pImpl->containers;
  auto found = std::find(containers.begin(), containers.end(), wnd);
  if (found != containers.end()) containers.erase(found);
}

int CHostMainFrame::GetViewType(HWND view) {
  if (!view) return 0;
  if (view == m_pImpl->lookup.m_second.m_hWnd) return m_pImpl->secondType;
  if (view == m_pImpl->lookup.m_first.m_hWnd) return m_pImpl->firstType;
  return 0;
}

bool CHostMainFrame::IsContainerWnd(HWND wnd) {
  const std::vector<HWND>& containers = m_pImpl->containers;
  return wnd && std::find(containers.begin(), containers.end(), wnd) != containers.end();
}

CHostElementContainer::CHostElementContainer(HWND wnd, uint32_t id)
    : m_hWnd(wnd), m_nId(id), m_pHost(nullptr) {}

CHostElementContainer::~CHostElementContainer() {
  if (m_pHost) m_pHost->RemoveElementContainer(this);
}

uint32_t CHostElementContainer::GetID() { return m_nId; }

int CHostElementContainer::SendMessageW(uint32_t /*id*/, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  if (!m_hWnd) return 0;
  return static_cast<int>(::SendMessageW(m_hWnd, message, wParam, lParam));
}
