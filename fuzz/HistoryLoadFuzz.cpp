// The history loader against any file: it never crashes, a damaged length is set aside whole,
// whatever loads is valid (terminated, non-empty, well-formed, no controls), once, at most 100
// entries, saves to exactly its records, which load
// back unchanged, and picking a loaded entry again does not grow the list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <map>
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

// Files as bytes in memory, by path.
class CMemoryIo : public HistoryFileIo {
 public:
  bool Exists(const std::wstring& path) override { return m_files.count(path) != 0; }
  bool Length(const std::wstring& path, uint64_t& length) override {
    auto it = m_files.find(path);
    if (it == m_files.end()) return false;
    length = it->second.size();
    return true;
  }
  bool ReadAt(const std::wstring& path, uint64_t offset, size_t count,
              std::vector<unsigned char>& bytes) override {
    auto it = m_files.find(path);
    if (it == m_files.end()) return false;
    const std::vector<unsigned char>& file = it->second;
    bytes.assign(file.begin() + std::min<size_t>(offset, file.size()),
                 file.begin() + std::min<size_t>(offset + count, file.size()));
    return true;
  }
  bool WriteReplacing(const std::wstring& path, const std::vector<unsigned char>& bytes) override {
    m_files[path] = bytes;
    return true;
  }
  bool MoveReplacing(const std::wstring& from, const std::wstring& to) override {
    auto it = m_files.find(from);
    if (it == m_files.end()) return false;
    m_files[to] = it->second;
    m_files.erase(from);
    return true;
  }

  std::map<std::wstring, std::vector<unsigned char>> m_files;
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

// What a record must be to load: terminated, non-empty, no control character, and (where
// wchar_t is 4 bytes and pairs were joined) no surrogate left on its own.
template <size_t N>
bool ValidText(const wchar_t (&field)[N]) {
  const wchar_t* end = wmemchr(field, 0, N);
  if (!end || end == field) return false;
  for (const wchar_t* c = field; c < end; ++c) {
    const uint32_t unit = static_cast<uint32_t>(*c);
    if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F)) return false;
    if (sizeof(wchar_t) == 4 && unit >= 0xD800 && unit <= 0xDFFF) return false;
    if (sizeof(wchar_t) == 2 && unit >= 0xDC00 && unit <= 0xDFFF) return false;
    if (sizeof(wchar_t) == 2 && unit >= 0xD800 && unit <= 0xDBFF) {
      if (c + 1 == end || !(c[1] >= 0xDC00 && c[1] <= 0xDFFF)) return false;
      ++c;
    }
  }
  return true;
}

// The loader's duplicates: kinds 256, 258, 259 and securities alike, other kinds for themselves.
bool SameKey(const KeyboardItemInfo& a, const KeyboardItemInfo& b) {
  auto kindClass = [](DWORD kind) {
    return kind == 256 || kind == 258 || kind == 259 || kind == 0xFFFFFFFF
               ? -1LL
               : static_cast<long long>(kind);
  };
  return kindClass(a.m_dwKind) == kindClass(b.m_dwKind) && a.m_wType == b.m_wType &&
         wcscmp(a.m_szCode, b.m_szCode) == 0 && wcscmp(a.m_szName, b.m_szName) == 0;
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
  const std::wstring path = L"RecentKeyBoard_Stock.dat";
  CMemoryIo io;
  io.m_files[path].assign(data, data + size);
  CRecentHistory history(path, &io);
  bool loaded = history.Load();
  const std::vector<KeyboardItemInfo>& items = history.Items();
  if (size % HISTORY_RECORD_SIZE != 0) {
    // Set aside whole, never destroyed.
    FUZZ_CHECK(!loaded && items.empty() && !io.Exists(path));
    FUZZ_CHECK(io.m_files[path + DAMAGED_HISTORY_SUFFIX] ==
               std::vector<unsigned char>(data, data + size));
    return 0;
  }
  FUZZ_CHECK(loaded && items.size() <= size / HISTORY_RECORD_SIZE);
  FUZZ_CHECK(items.size() <= MAX_HISTORY_ITEMS);
  for (size_t i = 0; i < items.size(); ++i) {
    const KeyboardItemInfo& item = items[i];
    FUZZ_CHECK(ValidText(item.m_szCode) && ValidText(item.m_szHotKey) && ValidText(item.m_szName));
    FUZZ_CHECK(item.m_pUnknown == nullptr);
    for (size_t j = 0; j < i; ++j) FUZZ_CHECK(!SameKey(items[j], item));
  }

  // Whatever loaded is written whole and reads back the same.
  FUZZ_CHECK(history.Save());
  FUZZ_CHECK(io.m_files[path].size() == items.size() * HISTORY_RECORD_SIZE);
  CRecentHistory reloaded(path, &io);
  FUZZ_CHECK(reloaded.Load() && reloaded.Items().size() == items.size());
  for (size_t i = 0; i < items.size(); ++i) FUZZ_CHECK(SameEntry(reloaded.Items()[i], items[i]));

  // Picking the oldest entry again puts it in front without growing the list.
  if (!items.empty()) {
    const size_t before = items.size();
    const KeyboardItemInfo oldest = items.back();
    FUZZ_CHECK(history.Add(&oldest));
    FUZZ_CHECK(SameEntry(items.front(), oldest));
    FUZZ_CHECK(items.size() == before);
  }
  return 0;
}
