// The recent-search history: files built byte by byte load as the records they hold, damaged
// ones are discarded, picks move to the front with their duplicates dropped by kind class, the
// list stops at 100, and a save either replaces the file whole or leaves the old one as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frame/RefPtr.h"
#include "platform/Platform.h"
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
  const std::u16string wide17 = u"ABCDEFGHIJKLMNOPQ";                  // no terminator
  const std::u16string wide33 = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456";  // no terminator
  // A name with a character beyond the 16-bit range (a surrogate pair in the file).
  const std::u16string pair = u"\U00020000";
  WriteBytes(Record(u"600000", u"PFYH", u"浦发银行", 0x0102, -1, 0xFFFFFFFF, 1, 0xEE) +
             Record(u"600001", u"", u"无简拼", 0x0102, -1, 0xFFFFFFFF, 1) +  // invalid: skipped
             Record(wide17, wide33, pair + u"名", 0x9601, 0x01020304, 257, 150) +
             Record(u"", u"X", u"Y", 1, 1, 1, 1) +  // invalid
             Record(u"000001", u"PAYH", wide33, 0x0001, 7, 258, 0) +
             // The cut at the width would split a pair: its first half goes too.
             Record(u"ABCDEFGHIJKLMNO" + pair, u"H", u"N", 1, 1, 1, 1));
  CRecentHistory history(Path(), &m_io);
  ASSERT_TRUE(history.Load());
  const std::vector<KeyboardItemInfo>& items = history.Items();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_STREQ(items[0].m_szName, L"浦发银行");
  EXPECT_EQ(items[0].m_wType, 0x0102);
  EXPECT_EQ(items[0].m_nExtraInfo, -1);
  EXPECT_EQ(items[0].m_dwKind, 0xFFFFFFFFu);
  // Unterminated fields are read up to their width and cut to what the item holds.
  EXPECT_STREQ(items[1].m_szCode, L"ABCDEFGHIJKLMNOP");
  EXPECT_STREQ(items[1].m_szHotKey, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
  EXPECT_EQ(std::wstring(items[1].m_szName), L"\U00020000名");
  EXPECT_EQ(items[1].m_cMarket, 150);
  EXPECT_STREQ(items[2].m_szName, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
  EXPECT_STREQ(items[3].m_szCode, L"ABCDEFGHIJKLMNO");
  EXPECT_EQ(items[0].m_eSelectType, KEYBOARD_SELECT_NONE);

  // File lengths: only whole records load; anything else is deleted and gives nothing.
  const Bytes one = Record(u"600000", u"PFYH", u"浦发银行", 0x0102, -1, 0xFFFFFFFF, 1);
  const struct {
    Bytes file;
    bool loads;
  } lengths[] = {{{}, true}, {one + Bytes(1, 0), false}};  // 181 bytes
  for (const auto& c : lengths) {
    WriteBytes(c.file);
    EXPECT_EQ(history.Load(), c.loads) << c.file.size();
    EXPECT_TRUE(history.Items().empty()) << c.file.size();
    EXPECT_EQ(plat::FileExists(Path().c_str()), c.loads) << c.file.size();
  }
  // No file: an empty history, and success.
  EXPECT_TRUE(history.Load());
  EXPECT_TRUE(history.Items().empty());
  // A path that cannot be read (a folder here) fails and is kept.
  CRecentHistory unreadable(m_dir.WideFile(), &m_io);
  EXPECT_FALSE(unreadable.Load());
  EXPECT_TRUE(plat::FileExists(m_dir.WideFile().c_str()));
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
