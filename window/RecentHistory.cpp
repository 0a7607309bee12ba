#include "RecentHistory.h"
#include "HostServices.h"

#include <cstdint>
#include <cwchar>
#include <new>

#include "frame/DataMgr.h"
#include "frame/GlobalEnv.h"
#include "frame/Logger.h"
#include "frame/RefPtr.h"
#include "platform/Platform.h"

namespace {

// The level of the terminal's logger at which the line about a damaged file is written.
const int HISTORY_LOG_LEVEL = 10000;

// Field layout of a record, in bytes and UTF-16 units.
const size_t CODE_OFFSET = 0, CODE_UNITS = 17;
const size_t HOTKEY_OFFSET = 34, HOTKEY_UNITS = 33;
const size_t NAME_OFFSET = 100, NAME_UNITS = 33;
const size_t TYPE_OFFSET = 166, EXTRA_OFFSET = 168, KIND_OFFSET = 172, MARKET_OFFSET = 176;

static_assert(sizeof(KeyboardItemInfo::m_szCode) / sizeof(wchar_t) == CODE_UNITS, "code field");
static_assert(sizeof(KeyboardItemInfo::m_szHotKey) / sizeof(wchar_t) == HOTKEY_UNITS, "hot key");
static_assert(sizeof(KeyboardItemInfo::m_szName) / sizeof(wchar_t) == NAME_UNITS, "name field");
static_assert(MARKET_OFFSET + 1 + 3 == HISTORY_RECORD_SIZE, "record size");

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void PutLe(unsigned char* out, uint32_t value, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t GetLe(const unsigned char* in, size_t bytes) {
  uint32_t value = 0;
  for (size_t i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(in[i]) << (8 * i);
  return value;
}

// Writes text as UTF-16LE units into a zeroed field of `units` units, always leaving room for the
// terminator. Where wchar_t holds whole code points (4 bytes), those above U+FFFF become
// surrogate pairs; the text stops at a character that does not fit or is not a code point.
template <size_t N>
void EncodeField(const wchar_t (&text)[N], unsigned char* out, size_t units) {
  size_t used = 0;
  for (size_t i = 0; i < N && text[i]; ++i) {
    uint32_t c = static_cast<uint32_t>(text[i]);
    if (sizeof(wchar_t) == 2 || c <= 0xFFFF) {
      if (used + 1 >= units) break;
      PutLe(out + 2 * used++, c & 0xFFFF, 2);
    } else {
      if (c > 0x10FFFF || used + 2 >= units) break;
      c -= 0x10000;
      PutLe(out + 2 * used++, 0xD800 + (c >> 10), 2);
      PutLe(out + 2 * used++, 0xDC00 + (c & 0x3FF), 2);
    }
  }
}

// C0 and C1 controls, DEL included: nothing a code, hot key or name ever holds, and what would
// break a line of the list or of a log.
bool IsControl(uint32_t unit) { return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F); }

// Reads a field of N units: false unless it is non-empty, ends inside its width, pairs every
// surrogate and holds no control character. Only then is the item's field written.
template <size_t N>
bool DecodeField(const unsigned char* in, wchar_t (&field)[N]) {
  uint32_t units[N];
  size_t count = 0;
  while (count < N && (units[count] = GetLe(in + 2 * count, 2)) != 0) ++count;
  if (count == 0 || count == N) return false;
  for (size_t i = 0; i < count; ++i) {
    if (IsControl(units[i]) || IsLowSurrogate(units[i])) return false;
    if (IsHighSurrogate(units[i]) && !(i + 1 < count && IsLowSurrogate(units[++i]))) return false;
  }
  size_t out = 0;
  for (size_t i = 0; i < count; ++i) {
    if (sizeof(wchar_t) == 4 && IsHighSurrogate(units[i]) && i + 1 < count &&
        IsLowSurrogate(units[i + 1])) {
      field[out++] =
          static_cast<wchar_t>(0x10000 + ((units[i] - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else {
      field[out++] = static_cast<wchar_t>(units[i]);
    }
  }
  for (; out < N; ++out) field[out] = 0;
  return true;
}

// Former names, aliases and securities of the same code, name and type are one entry; any other
// kind (a command) stands for itself.
long long KindClass(DWORD kind) {
  if (kind == 256 || kind == 258 || kind == 259 || kind == 0xFFFFFFFF) return -1;
  return static_cast<long long>(kind);
}

bool SameHistoryKey(const KeyboardItemInfo& a, const KeyboardItemInfo& b) {
  return KindClass(a.m_dwKind) == KindClass(b.m_dwKind) && a.m_wType == b.m_wType &&
         wcscmp(a.m_szCode, b.m_szCode) == 0 && wcscmp(a.m_szName, b.m_szName) == 0;
}

// Only securities the data centre has a record of are remembered.
bool IsKnownSecurity(const KeyboardItemInfo& item) {
  TRefPtr<CDataMgr> dataMgr = TerminalDataMgr();
  return dataMgr && dataMgr->GetOneStkInfo(item.m_szCode, item.m_cMarket) != nullptr;
}

}  // namespace

std::wstring HistoryFilePath() {
#ifdef _WIN32
  return plat::ProcessDirectory() + L"\\Data\\RecentKeyBoard_Stock.dat";
#else
  return plat::ProcessDirectory() + L"/Data/RecentKeyBoard_Stock.dat";
#endif
}

bool DecodeHistoryRecord(const unsigned char* record, KeyboardItemInfo& item) {
  if (!DecodeField(record + CODE_OFFSET, item.m_szCode) ||
      !DecodeField(record + HOTKEY_OFFSET, item.m_szHotKey) ||
      !DecodeField(record + NAME_OFFSET, item.m_szName))
    return false;
  item.m_wType = static_cast<unsigned short>(GetLe(record + TYPE_OFFSET, 2));
  item.m_nExtraInfo = static_cast<int>(GetLe(record + EXTRA_OFFSET, 4));
  item.m_dwKind = static_cast<DWORD>(GetLe(record + KIND_OFFSET, 4));
  item.m_cMarket = record[MARKET_OFFSET];
  return true;
}

bool EncodeHistoryRecord(const KeyboardItemInfo& item, unsigned char* record) {
  for (size_t i = 0; i < HISTORY_RECORD_SIZE; ++i) record[i] = 0;
  EncodeField(item.m_szCode, record + CODE_OFFSET, CODE_UNITS);
  EncodeField(item.m_szHotKey, record + HOTKEY_OFFSET, HOTKEY_UNITS);
  EncodeField(item.m_szName, record + NAME_OFFSET, NAME_UNITS);
  PutLe(record + TYPE_OFFSET, item.m_wType, 2);
  PutLe(record + EXTRA_OFFSET, static_cast<uint32_t>(item.m_nExtraInfo), 4);
  PutLe(record + KIND_OFFSET, static_cast<uint32_t>(item.m_dwKind), 4);
  record[MARKET_OFFSET] = item.m_cMarket;
  // A field that encodes to nothing starts with its terminator.
  return (record[CODE_OFFSET] | record[CODE_OFFSET + 1]) &&
         (record[HOTKEY_OFFSET] | record[HOTKEY_OFFSET + 1]) &&
         (record[NAME_OFFSET] | record[NAME_OFFSET + 1]);
}

CRecentHistory::CRecentHistory(const std::wstring& path, HistoryFileIo* io)
    : m_strPath(path), m_pIo(io), m_bUnsaved(false) {}

bool CRecentHistory::Load() {
  m_items.clear();
  m_bUnsaved = false;
  if (!m_pIo->Exists(m_strPath)) return true;
  try {
    uint64_t length = 0;
    if (!m_pIo->Length(m_strPath, length)) return false;
    if (length % HISTORY_RECORD_SIZE != 0) {
      SetAsideDamagedFile(length);
      return false;
    }
    // The valid records are read a screenful of records at a time, and only until the history is
    // full: a huge file costs what a normal one does.
    const size_t chunk = MAX_HISTORY_ITEMS * HISTORY_RECORD_SIZE;
    std::vector<unsigned char> bytes;
    for (uint64_t offset = 0; offset < length && m_items.size() < MAX_HISTORY_ITEMS;
         offset += chunk) {
      if (!m_pIo->ReadAt(m_strPath, offset, chunk, bytes)) {
        m_items.clear();
        return false;
      }
      for (size_t at = 0; at + HISTORY_RECORD_SIZE <= bytes.size(); at += HISTORY_RECORD_SIZE) {
        KeyboardItemInfo item;
        if (DecodeHistoryRecord(&bytes[at], item) && !Contains(item)) m_items.push_back(item);
        if (m_items.size() == MAX_HISTORY_ITEMS) break;
      }
      if (bytes.size() < chunk) break;
    }
    return true;
  } catch (const std::bad_alloc&) {
    m_items.clear();
    return false;
  }
}

bool CRecentHistory::Contains(const KeyboardItemInfo& item) const {
  for (const KeyboardItemInfo& entry : m_items)
    if (SameHistoryKey(entry, item)) return true;
  return false;
}

// The trader starts again with an empty history, as with any damaged file, but the file itself
// is kept beside it for whoever looks into what happened.
void CRecentHistory::SetAsideDamagedFile(uint64_t length) {
  const std::wstring aside = m_strPath + DAMAGED_HISTORY_SUFFIX;
  const bool moved = m_pIo->MoveReplacing(m_strPath, aside);
  wchar_t line[512];
  swprintf(line, sizeof(line) / sizeof(line[0]),
           moved ? L"history file %ls is damaged (%llu bytes, not a whole number of %u-byte "
                   L"records): moved to %ls, starting with an empty history"
                 : L"history file %ls is damaged (%llu bytes, not a whole number of %u-byte "
                   L"records) and could not be moved to %ls: starting with an empty history",
           m_strPath.c_str(), static_cast<unsigned long long>(length),
           static_cast<unsigned>(HISTORY_RECORD_SIZE), aside.c_str());
  TRefPtr<LightLogger::CLogger> logger =
      LightLogger::CLogger::GetLogger(L"[CSuggestListWnd::LoadHistory]", LIGHT_LOG_FILE_DEFAULT);
  logger->SetLogLevel(HISTORY_LOG_LEVEL);
  logger->WriteLogLine(line, HISTORY_LOG_LEVEL);
}

bool CRecentHistory::Add(const KeyboardItemInfo* item) {
  if (!item) return false;
  KeyboardItemInfo copy;
  copy.CopyRemoveIUnknownPtr(*item);
  if (!IsKnownSecurity(copy)) return false;
  try {
    m_items.insert(m_items.begin(), copy);
  } catch (const std::bad_alloc&) {
    return false;
  }
  // The history held no duplicates before, so the first repeated key is the older copy of the
  // item just added.
  bool erased = false;
  for (size_t i = 1; i < m_items.size() && !erased; ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (SameHistoryKey(m_items[i], m_items[j])) {
        m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i));
        erased = true;
        break;
      }
    }
  }
  if (m_items.size() > MAX_HISTORY_ITEMS) m_items.pop_back();
  m_bUnsaved = true;
  return true;
}

bool CRecentHistory::Save() {
  try {
    std::vector<unsigned char> bytes;
    bytes.reserve(m_items.size() * HISTORY_RECORD_SIZE);
    unsigned char record[HISTORY_RECORD_SIZE];
    for (const KeyboardItemInfo& item : m_items)
      if (EncodeHistoryRecord(item, record))
        bytes.insert(bytes.end(), record, record + sizeof(record));
    if (!m_pIo->WriteReplacing(m_strPath, bytes)) return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  m_bUnsaved = false;
  return true;
}

void CRecentHistory::Clear() {
  m_items.clear();
  m_bUnsaved = true;
}
