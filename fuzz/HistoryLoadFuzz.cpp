// The history loader against any file: it never crashes, a damaged length is deleted, whatever
// loads is valid and saves to exactly its records, which load back unchanged, and picking a
// loaded entry again does not grow the list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"
#include "frame/RefPtr.h"
#include "services/TerminalEnv.h"
#include "window/RecentHistory.h"

namespace {

#define FUZZ_CHECK(condition)  \
  do {                         \
    if (!(condition)) abort(); \
  } while (0)

// The file as bytes in memory.
class CMemoryIo : public HistoryFileIo {
 public:
  bool Exists(const std::wstring&) override { return m_bPresent; }
  bool ReadAll(const std::wstring&, std::vector<unsigned char>& bytes) override {
    bytes = m_bytes;
    return m_bPresent;
  }
  bool WriteReplacing(const std::wstring&, const std::vector<unsigned char>& bytes) override {
    m_bytes = bytes;
    m_bPresent = true;
    return true;
  }
  bool Delete(const std::wstring&) override {
    m_bytes.clear();
    m_bPresent = false;
    return true;
  }

  bool m_bPresent = true;
  std::vector<unsigned char> m_bytes;
};

// A data centre that knows every security, so any loaded entry can be picked again.
class CKnowsEverything : public CDataMgr {
 public:
  const STK_PER* GetOneStkInfo(const std::wstring&, unsigned char) override { return &m_record; }
  void RegistRecvBroadcastMsgWnd(HWND) override {}
  void UnregistRecvBroadcastMsgWnd(HWND) override {}

 private:
  STK_PER m_record = {};
};

template <size_t N>
bool Terminated(const wchar_t (&field)[N]) {
  return wmemchr(field, 0, N) != nullptr;
}

bool SameEntry(const KeyboardItemInfo& a, const KeyboardItemInfo& b) {
  return a == b && wcscmp(a.m_szHotKey, b.m_szHotKey) == 0 && a.m_nExtraInfo == b.m_nExtraInfo &&
         a.m_cMarket == b.m_cMarket;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TRefPtr<CTerminalEnv> env(new CTerminalEnv);
  TRefPtr<CKnowsEverything> dataMgr(new CKnowsEverything);
  env->SetDataMgr(dataMgr.get());
  CGlobalEnv::SetGlobalEnv(env.get());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CMemoryIo io;
  io.m_bytes.assign(data, data + size);
  CRecentHistory history(L"RecentKeyBoard_Stock.dat", &io);
  bool loaded = history.Load();
  const std::vector<KeyboardItemInfo>& items = history.Items();
  if (size % HISTORY_RECORD_SIZE != 0) {
    FUZZ_CHECK(!loaded && !io.m_bPresent && items.empty());
    return 0;
  }
  FUZZ_CHECK(loaded && items.size() <= size / HISTORY_RECORD_SIZE);
  for (const KeyboardItemInfo& item : items) {
    FUZZ_CHECK(Terminated(item.m_szCode) && Terminated(item.m_szHotKey) &&
               Terminated(item.m_szName));
    FUZZ_CHECK(item.m_szCode[0] && item.m_szHotKey[0] && item.m_szName[0]);
    FUZZ_CHECK(item.m_pUnknown == nullptr);
  }

  // Whatever loaded is written whole and reads back the same.
  FUZZ_CHECK(history.Save());
  FUZZ_CHECK(io.m_bytes.size() == items.size() * HISTORY_RECORD_SIZE);
  CRecentHistory reloaded(L"RecentKeyBoard_Stock.dat", &io);
  FUZZ_CHECK(reloaded.Load() && reloaded.Items().size() == items.size());
  for (size_t i = 0; i < items.size(); ++i) FUZZ_CHECK(SameEntry(reloaded.Items()[i], items[i]));

  // Picking the oldest entry again puts it in front without growing the list.
  if (!items.empty()) {
    const size_t before = items.size();
    const KeyboardItemInfo oldest = items.back();
    FUZZ_CHECK(history.Add(&oldest));
    FUZZ_CHECK(SameEntry(items.front(), oldest));
    // One older copy goes; a file of more than 100 records also loses its last one.
    FUZZ_CHECK(items.size() == (before > MAX_HISTORY_ITEMS ? before - 1 : before));
  }
  return 0;
}
