// The recent-search history: files built byte by byte load as the records they hold, damaged
// ones are discarded, picks move to the front with their duplicates dropped by kind class, the
// list stops at 100, and a save either replaces the file whole or leaves the old one as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frame/RefPtr.h"
#include "platform/Platform.h"
#include "services/LoggerHost.h"
#include "services/SecurityMaster.h"
#include "support/CountingUnknown.h"
#include "support/EnvScope.h"
#include "support/TempDir.h"
#include "window/HistoryFileIoPosix.h"
#include "window/RecentHistory.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// One record as the file holds it, written unit by unit in little-endian order. Strings are
// given as UTF-16 and may fill their whole field, leaving no terminator.
Bytes Record(const std::u16string& code, const std::u16string& hotKey, const std::u16string& name,
             uint16_t type, int32_t extra, uint32_t kind, uint8_t market,
             unsigned char padding = 0) {
  Bytes record(180, 0);
  auto put = [&record](size_t offset, const std::u16string& text, size_t units) {
    for (size_t i = 0; i < text.size() && i < units; ++i) {
      record[offset + 2 * i] = static_cast<unsigned char>(text[i] & 0xFF);
      record[offset + 2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
    }
  };
  put(0, code, 17);
  put(34, hotKey, 33);
  put(100, name, 33);
  for (int i = 0; i < 2; ++i) record[166 + i] = static_cast<unsigned char>(type >> (8 * i));
  for (int i = 0; i < 4; ++i) {
    record[168 + i] = static_cast<unsigned char>(static_cast<uint32_t>(extra) >> (8 * i));
    record[172 + i] = static_cast<unsigned char>(kind >> (8 * i));
  }
  record[176] = market;
  record[177] = record[178] = record[179] = padding;
  return record;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

KeyboardItemInfo Item(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name, int type,
                      DWORD kind, unsigned char market, int extra = -1) {
  KeyboardItemInfo item(code, hotKey, name, type, extra, nullptr, kind, KEYBOARD_SELECT_WHOLE);
  item.m_cMarket = market;
  return item;
}

// Writes the first half of the temporary file and then fails, as a full disk or a crash would.
class CInterruptedIo : public CHistoryFileIoPosix {
 protected:
  bool WriteTemporary(const std::string& path, const Bytes& bytes) override {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size() / 2));
    return false;
  }
};

class RecentHistoryTest : public ::testing::Test {
 protected:
  RecentHistoryTest() : m_master(new CSecurityMaster) {
    m_env->SetDataMgr(m_master.get());
    m_master->AddSecurity(L"600000", 1, L"浦发银行");
    m_master->AddSecurity(L"600000", 0, L"浦发银行");
    m_master->AddSecurity(L"000001", 0, L"平安银行");
  }

  std::string File() const { return m_dir.File("RecentKeyBoard_Stock.dat"); }
  std::wstring Path() const { return m_dir.WideFile("RecentKeyBoard_Stock.dat"); }

  void WriteBytes(const Bytes& bytes) const {
    std::ofstream(File(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  Bytes ReadBytes() const {
    std::ifstream in(File(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  EnvScope m_env;
  TRefPtr<CSecurityMaster> m_master;
  TempDir m_dir;
  CHistoryFileIoPosix m_io;
};

TEST_F(RecentHistoryTest, FileBuiltByteByByteLoadsAsTheRecordsItHolds) {
  const std::u16string code16 = u"ABCDEFGHIJKLMNOP";  // the terminator ends the field
  const std::u16string hotKey32 = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  // A name with a character beyond the 16-bit range (a surrogate pair in the file).
  const std::u16string pair = u"\U00020000";
  WriteBytes(Record(u"600000", u"PFYH", u"浦发银行", 0x0102, -1, 0xFFFFFFFF, 1, 0xEE) +
             Record(u"600001", u"", u"无简拼", 0x0102, -1, 0xFFFFFFFF, 1) +  // invalid: skipped
             Record(code16, hotKey32, pair + u"名", 0x9601, 0x01020304, 257, 150) +
             Record(u"", u"X", u"Y", 1, 1, 1, 1) +  // invalid
             Record(u"000001", u"PAYH", u"平安银行", 0x0001, 7, 258, 0));
  CRecentHistory history(Path(), &m_io);
  ASSERT_TRUE(history.Load());
  const std::vector<KeyboardItemInfo>& items = history.Items();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_STREQ(items[0].m_szName, L"浦发银行");
  EXPECT_EQ(items[0].m_wType, 0x0102);
  EXPECT_EQ(items[0].m_nExtraInfo, -1);
  EXPECT_EQ(items[0].m_dwKind, 0xFFFFFFFFu);
  EXPECT_EQ(items[0].m_eSelectType, KEYBOARD_SELECT_NONE);
  EXPECT_STREQ(items[1].m_szCode, L"ABCDEFGHIJKLMNOP");
  EXPECT_STREQ(items[1].m_szHotKey, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
  EXPECT_EQ(std::wstring(items[1].m_szName), L"\U00020000名");
  EXPECT_EQ(items[1].m_nExtraInfo, 0x01020304);
  EXPECT_EQ(items[1].m_cMarket, 150);
  EXPECT_EQ(items[2].m_dwKind, 258u);

  // An empty file loads as an empty history; no file as well.
  WriteBytes({});
  EXPECT_TRUE(history.Load());
  EXPECT_TRUE(history.Items().empty());
  std::remove(File().c_str());
  EXPECT_TRUE(history.Load());
  EXPECT_TRUE(history.Items().empty());
  // A path that cannot be read (a folder here) fails and is kept.
  CRecentHistory unreadable(m_dir.WideFile(), &m_io);
  EXPECT_FALSE(unreadable.Load());
  EXPECT_TRUE(plat::FileExists(m_dir.WideFile().c_str()));
}

// A record whose texts a picked item could never have had would hand the terminal junk: it is
// skipped, and the records around it still load.
TEST_F(RecentHistoryTest, RecordsThatNoPickCouldHaveMadeAreSkipped) {
  const Bytes before = Record(u"600000", u"PFYH", u"浦发银行", 0x0102, -1, 0xFFFFFFFF, 1);
  const Bytes after = Record(u"000001", u"PAYH", u"平安银行", 0x0001, -1, 0xFFFFFFFF, 0);
  const std::u16string lowHalf(1, u'\xDC00'), highHalf(1, u'\xD800');
  const struct {
    const char* what;
    Bytes record;
  } bad[] = {
      {"code without terminator", Record(u"ABCDEFGHIJKLMNOPQ", u"H", u"N", 1, 1, 1, 1)},
      {"hot key without terminator",
       Record(u"C", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456", u"N", 1, 1, 1, 1)},
      {"name without terminator",
       Record(u"C", u"H", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456", 1, 1, 1, 1)},
      {"lone low surrogate", Record(u"C", u"H", lowHalf + u"名", 1, 1, 1, 1)},
      {"high surrogate at the end", Record(u"C", u"H", u"名" + highHalf, 1, 1, 1, 1)},
      {"high surrogate before another", Record(u"C", highHalf + u"A", u"N", 1, 1, 1, 1)},
      {"tab in the code", Record(u"60\t0000", u"H", u"N", 1, 1, 1, 1)},
      {"newline in the name", Record(u"C", u"H", u"浦发\n银行", 1, 1, 1, 1)},
      {"DEL in the hot key", Record(u"C", u"P\x7F", u"N", 1, 1, 1, 1)},
      {"C1 control in the name", Record(u"C", u"H", u"N\x85", 1, 1, 1, 1)},
  };
  for (const auto& c : bad) {
    WriteBytes(before + c.record + after);
    CRecentHistory history(Path(), &m_io);
    ASSERT_TRUE(history.Load()) << c.what;
    ASSERT_EQ(history.Items().size(), 2u) << c.what;
    EXPECT_STREQ(history.Items()[0].m_szCode, L"600000") << c.what;
    EXPECT_STREQ(history.Items()[1].m_szCode, L"000001") << c.what;
  }
}

// Counts what the loader asks to read.
class CCountingIo : public CHistoryFileIoPosix {
 public:
  bool ReadAt(const std::wstring& path, uint64_t offset, size_t count, Bytes& bytes) override {
    m_nRequested += count;
    return CHistoryFileIoPosix::ReadAt(path, offset, count, bytes);
  }
  uint64_t m_nRequested = 0;
};

TEST_F(RecentHistoryTest, AHugeFileCostsWhatANormalOneDoesAndDuplicatesLoadOnce) {
  // 20,000 records: a repeat of the first, then distinct ones.
  Bytes file = Record(u"600000", u"PFYH", u"浦发银行", 0x0102, -1, 0xFFFFFFFF, 1);
  file = file + Record(u"600000", u"SPDB", u"浦发银行", 0x0102, -1, 256, 0) + file;
  for (int n = 0; file.size() < 20000 * 180; ++n) {
    const std::string digits = std::to_string(n);
    const Bytes record = Record(std::u16string(digits.begin(), digits.end()), u"HK", u"名", 0x0102,
                                -1, 0xFFFFFFFF, 1);
    file.insert(file.end(), record.begin(), record.end());
  }
  WriteBytes(file);
  CCountingIo counting;
  CRecentHistory history(Path(), &counting);
  ASSERT_TRUE(history.Load());
  const std::vector<KeyboardItemInfo>& items = history.Items();
  ASSERT_EQ(items.size(), 100u);
  EXPECT_STREQ(items[0].m_szHotKey, L"PFYH");  // the first copy of the repeated item stays
  EXPECT_STREQ(items[1].m_szCode, L"0");
  EXPECT_STREQ(items[99].m_szCode, L"98");
  EXPECT_LE(counting.m_nRequested, 2u * 100 * 180);  // the records up to the hundredth
  // The next save writes those hundred.
  ASSERT_TRUE(history.Save());
  EXPECT_EQ(ReadBytes().size(), 100u * 180);
}

// The captured lines of the logger.
std::vector<std::wstring>* g_pLogLines = nullptr;
void CaptureLogLine(void*, const wchar_t* logger, int, const wchar_t* text) {
  if (g_pLogLines) g_pLogLines->push_back(std::wstring(logger) + L" " + text);
}

TEST_F(RecentHistoryTest, ADamagedFileIsSetAsideWithALogLineNotDeleted) {
  std::vector<std::wstring> lines;
  g_pLogLines = &lines;
  SetLogLineHook(CaptureLogLine, nullptr);
  // Four good records cut short: 899 bytes.
  Bytes good;
  for (const char16_t* code : {u"600000", u"600001", u"600002", u"600003"})
    good = good + Record(code, u"H", u"N", 0x0102, -1, 0xFFFFFFFF, 1);
  const Bytes damaged(good.begin(), good.begin() + 899);
  WriteBytes(damaged);
  CRecentHistory history(Path(), &m_io);
  EXPECT_FALSE(history.Load());
  EXPECT_TRUE(history.Items().empty());
  EXPECT_FALSE(plat::FileExists(Path().c_str()));
  std::ifstream aside(File() + ".damaged", std::ios::binary);
  EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(aside), std::istreambuf_iterator<char>()),
            damaged);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"[CSuggestListWnd::LoadHistory]"), std::wstring::npos) << lines[0];
  EXPECT_NE(lines[0].find(L"899 bytes"), std::wstring::npos) << lines[0];
  EXPECT_NE(lines[0].find(L".damaged"), std::wstring::npos) << lines[0];

  // A later damaged file replaces the older copy: one copy, the newest.
  const Bytes shorter(good.begin(), good.begin() + 181);
  WriteBytes(shorter);
  EXPECT_FALSE(history.Load());
  std::ifstream newest(File() + ".damaged", std::ios::binary);
  EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(newest), std::istreambuf_iterator<char>()),
            shorter);
  EXPECT_EQ(m_dir.Entries(), std::vector<std::string>{"RecentKeyBoard_Stock.dat.damaged"});
  SetLogLineHook(nullptr, nullptr);
  g_pLogLines = nullptr;
}

TEST_F(RecentHistoryTest, SavedFileHasTheRecordLayoutAndLoadsBackAsSaved) {
  m_master->AddSecurity(L"ABC", 7, L"名");
  CRecentHistory history(Path(), &m_io);
  const KeyboardItemInfo pick = Item(L"ABC", L"HK", L"浦\U00020000", 0x0A0B, 260, 7, 0x01020304);
  ASSERT_TRUE(history.Add(&pick));
  ASSERT_TRUE(history.Save());
  const Bytes bytes = ReadBytes();
  ASSERT_EQ(bytes.size(), 180u);
  const struct {
    size_t offset;
    std::vector<unsigned char> expected;
  } fields[] = {
      {0, {'A', 0, 'B', 0, 'C', 0, 0, 0}},                // code, then its terminator
      {34, {'H', 0, 'K', 0, 0, 0}},                       // hot key
      {100, {0x66, 0x6D, 0x40, 0xD8, 0x00, 0xDC, 0, 0}},  // 浦 U+6D66, then U+20000 as a pair
      {166, {0x0B, 0x0A}},                                // type word
      {168, {0x04, 0x03, 0x02, 0x01}},                    // extra information
      {172, {0x04, 0x01, 0x00, 0x00}},                    // kind 260
      {176, {7, 0, 0, 0}},                                // market, padding
  };
  for (const auto& f : fields)
    for (size_t i = 0; i < f.expected.size(); ++i)
      EXPECT_EQ(bytes[f.offset + i], f.expected[i]) << "offset " << f.offset + i;
  for (size_t i = 8; i < 34; ++i) EXPECT_EQ(bytes[i], 0) << i;  // the rest of the code field

  CRecentHistory reloaded(Path(), &m_io);
  ASSERT_TRUE(reloaded.Load());
  ASSERT_EQ(reloaded.Items().size(), 1u);
  const KeyboardItemInfo& item = reloaded.Items()[0];
  EXPECT_TRUE(item == history.Items()[0]);
  EXPECT_EQ(item.m_nExtraInfo, 0x01020304);

  if (sizeof(wchar_t) == 4) {
    // 'A' and nine characters beyond U+FFFF need 19 units: the code keeps 'A' and the seven
    // pairs that fit before its terminator.
    KeyboardItemInfo big = Item(L"A", L"HK", L"N", 1, 0xFFFFFFFF, 7);
    for (int i = 1; i <= 9; ++i) big.m_szCode[i] = static_cast<wchar_t>(0x1F600 + i);
    unsigned char record[180];
    ASSERT_TRUE(EncodeHistoryRecord(big, record));
    EXPECT_EQ(record[28], 0x07);  // low half of U+1F607
    EXPECT_EQ(record[29], 0xDE);
    for (size_t i = 30; i < 34; ++i) EXPECT_EQ(record[i], 0) << i;
    KeyboardItemInfo back;
    ASSERT_TRUE(DecodeHistoryRecord(record, back));
    EXPECT_EQ(std::wstring(back.m_szCode), std::wstring(big.m_szCode).substr(0, 8));
  }
}

TEST_F(RecentHistoryTest, PicksGoToTheFrontReplacingTheSameSecurityByKindClass) {
  const KeyboardItemInfo security = Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 0xFFFFFFFF, 1);
  const KeyboardItemInfo other = Item(L"000001", L"PAYH", L"平安银行", 0x0001, 0xFFFFFFFF, 0);
  const struct {
    const char* what;
    KeyboardItemInfo pick;
    bool replaces;
  } cases[] = {
      {"former name", Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 256, 1), true},
      {"kind 259", Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 259, 1), true},
      {"other hot key", Item(L"600000", L"SPDB", L"浦发银行", 0x0102, 0xFFFFFFFF, 1), true},
      {"other market", Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 0xFFFFFFFF, 0), true},
      {"command", Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 257, 1), false},
      {"kind 260", Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 260, 1), false},
      {"other type", Item(L"600000", L"PFYH", L"浦发银行", 0x0103, 0xFFFFFFFF, 1), false},
      {"other name", Item(L"600000", L"PFYH", L"浦发", 0x0102, 0xFFFFFFFF, 1), false},
  };
  for (const auto& c : cases) {
    CRecentHistory history(Path(), &m_io);
    ASSERT_TRUE(history.Add(&security) && history.Add(&other)) << c.what;
    ASSERT_TRUE(history.Add(&c.pick)) << c.what;
    const std::vector<KeyboardItemInfo>& items = history.Items();
    ASSERT_EQ(items.size(), c.replaces ? 2u : 3u) << c.what;
    EXPECT_TRUE(items[0] == c.pick && items[0].m_cMarket == c.pick.m_cMarket) << c.what;
    EXPECT_STREQ(items[0].m_szHotKey, c.pick.m_szHotKey) << c.what;
    EXPECT_TRUE(items[1] == other) << c.what;
  }

  // The copy keeps the select type and drops the attached object, holding no reference on it.
  UnknownCounters counters;
  KeyboardItemInfo picked = other;
  picked.m_pUnknown = new CCountingUnknown(&counters);
  picked.m_pUnknown->AddRef();
  CRecentHistory history(Path(), &m_io);
  ASSERT_TRUE(history.Add(&security) && history.Add(&picked));
  EXPECT_EQ(history.Items()[0].m_pUnknown, nullptr);
  EXPECT_EQ(history.Items()[0].m_eSelectType, KEYBOARD_SELECT_WHOLE);
  EXPECT_EQ(counters.addRefs - counters.releases, 1);  // only the test's own reference
  ASSERT_TRUE(history.Add(&security));                 // re-picking moves it back to the front
  ASSERT_EQ(history.Items().size(), 2u);
  EXPECT_TRUE(history.Items()[0] == security && history.Items()[1] == other);
  ASSERT_TRUE(history.Add(&security));  // picking the newest again keeps one copy, in front
  ASSERT_EQ(history.Items().size(), 2u);
  EXPECT_TRUE(history.Items()[0] == security && history.Items()[1] == other);
}

TEST_F(RecentHistoryTest, OnlySecuritiesTheDataCentreKnowsAreAdded) {
  CRecentHistory history(Path(), &m_io);
  const KeyboardItemInfo known = Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 0xFFFFFFFF, 1);
  const KeyboardItemInfo otherMarket = Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 0, 9);
  EXPECT_FALSE(history.Add(nullptr));
  EXPECT_FALSE(history.Add(&otherMarket));
  m_env->SetDataMgr(nullptr);
  EXPECT_FALSE(history.Add(&known));  // no data centre
  CGlobalEnv::SetGlobalEnv(nullptr);
  EXPECT_FALSE(history.Add(&known));  // no environment
  EXPECT_TRUE(history.Items().empty());
  EXPECT_FALSE(history.HasUnsavedChanges());
  CGlobalEnv::SetGlobalEnv(m_env.get());
}

TEST_F(RecentHistoryTest, HundredAndOnePicksKeepTheNewestHundred) {
  CRecentHistory history(Path(), &m_io);
  std::vector<KeyboardItemInfo> picks;
  for (int n = 0; n <= 100; ++n) {
    std::wstring code = L"S" + std::to_wstring(n), name = L"名" + std::to_wstring(n);
    m_master->AddSecurity(code.c_str(), 1, name.c_str());
    picks.push_back(Item(code.c_str(), L"HK", name.c_str(), 0x0102, 0xFFFFFFFF, 1));
  }
  for (int n = 0; n < 100; ++n) ASSERT_TRUE(history.Add(&picks[n]));
  // The oldest entry carries an object (as after activating a history row): dropping the entry
  // releases it.
  UnknownCounters counters;
  history.Items().back().m_pUnknown = new CCountingUnknown(&counters);
  history.Items().back().m_pUnknown->AddRef();
  ASSERT_TRUE(history.Add(&picks[100]));
  ASSERT_EQ(history.Items().size(), 100u);
  EXPECT_EQ(counters.destroyed, 1);
  EXPECT_STREQ(history.Items().front().m_szCode, L"S100");
  EXPECT_STREQ(history.Items().back().m_szCode, L"S1");
}

TEST_F(RecentHistoryTest, InvalidEntriesAreNeverWrittenAndClearSavesAnEmptyFile) {
  m_master->AddSecurity(L"600002", 1, L"");
  CRecentHistory history(Path(), &m_io);
  const KeyboardItemInfo valid = Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 0xFFFFFFFF, 1);
  const KeyboardItemInfo noHotKey = Item(L"000001", L"", L"平安银行", 0x0001, 0xFFFFFFFF, 0);
  const KeyboardItemInfo noName = Item(L"600002", L"X", L"", 0x0102, 0xFFFFFFFF, 1);
  ASSERT_TRUE(history.Add(&noHotKey) && history.Add(&valid) && history.Add(&noName));
  ASSERT_TRUE(history.Save());
  EXPECT_EQ(ReadBytes(), Record(u"600000", u"PFYH", u"浦发银行", 0x0102, -1, 0xFFFFFFFF, 1));

  // The clear button empties the history at once; the file follows with the next save.
  history.Clear();
  EXPECT_TRUE(history.Items().empty());
  EXPECT_TRUE(history.HasUnsavedChanges());
  EXPECT_EQ(ReadBytes().size(), 180u);
  ASSERT_TRUE(history.Save());
  EXPECT_FALSE(history.HasUnsavedChanges());
  EXPECT_TRUE(ReadBytes().empty());
}

TEST_F(RecentHistoryTest, FailedSaveLeavesTheOldFileByteIdentical) {
  const Bytes old = Record(u"000001", u"PAYH", u"平安银行", 0x0001, -1, 0xFFFFFFFF, 0, 0x5A);
  WriteBytes(old);
  CInterruptedIo interrupted;
  CRecentHistory history(Path(), &interrupted);
  ASSERT_TRUE(history.Load());
  const KeyboardItemInfo pick = Item(L"600000", L"PFYH", L"浦发银行", 0x0102, 0xFFFFFFFF, 1);
  ASSERT_TRUE(history.Add(&pick));
  EXPECT_FALSE(history.Save());
  EXPECT_TRUE(history.HasUnsavedChanges());
  EXPECT_EQ(ReadBytes(), old);
  EXPECT_EQ(m_dir.Entries(), std::vector<std::string>{"RecentKeyBoard_Stock.dat"});

  // The real io replaces the file and leaves no temporary behind.
  CRecentHistory saved(Path(), &m_io);
  ASSERT_TRUE(saved.Load() && saved.Add(&pick) && saved.Save());
  EXPECT_EQ(m_dir.Entries(), std::vector<std::string>{"RecentKeyBoard_Stock.dat"});

  // A missing folder: nothing written, nothing created.
  CRecentHistory nowhere(m_dir.WideFile("Data/RecentKeyBoard_Stock.dat"), &m_io);
  EXPECT_TRUE(nowhere.Load());
  ASSERT_TRUE(nowhere.Add(&pick));
  EXPECT_FALSE(nowhere.Save());
  EXPECT_FALSE(nowhere.FileExists());
  EXPECT_EQ(m_dir.Entries(), std::vector<std::string>{"RecentKeyBoard_Stock.dat"});
}

TEST(RecentHistoryPath, IsTheDataFileBesideTheExecutable) {
  const std::wstring folder = plat::ProcessDirectory();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(plat::FileExists((folder + L"/native_tests").c_str()));
  EXPECT_EQ(HistoryFilePath(), folder + L"/Data/RecentKeyBoard_Stock.dat");
}

}  // namespace
