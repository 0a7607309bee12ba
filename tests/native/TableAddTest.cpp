// Adding items: sorted single adds with the duplicate check, numeric commands, reuse of released
// positions and slots, growth, bulk adds with their sort and their log line, refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "frame/Logger.h"
#include "services/LoggerHost.h"
#include "support/CountingUnknown.h"
#include "support/TableFixture.h"

namespace {

using namespace store_test;

const std::vector<int> kAllCategories;

int Remove(KeyboardInputMappingTable& table, const wchar_t* code, const wchar_t* hotKey,
           const wchar_t* name) {
  unsigned short type = 0x0102;
  DWORD kind = 0;
  return table.RemoveItem(code, hotKey, name, &type, &kind);
}

bool InOrder(const KeyboardInputMappingTable& table, int group, int category) {
  const KeyCompareMode mode = {static_cast<unsigned char>(group % 2), 0};
  const std::vector<std::wstring> keys = ListKeys(table, group, category);
  for (size_t i = 1; i < keys.size(); ++i)
    if (CompareKey(&mode, keys[i - 1].c_str(), keys[i].c_str()) > 0) return false;
  return true;
}

TEST(TableAdd, SingleAddsKeepListsInOrderAndSkipDuplicates) {
  TableHost host;
  KeyboardInputMappingTable table;
  std::vector<KeyboardItemInfo> items = MarketSecurities(400);
  const std::vector<KeyboardItemInfo> commands = MarketCommands(60);
  items.insert(items.end(), commands.begin(), commands.end());
  std::shuffle(items.begin(), items.end(), std::mt19937(3));
  for (const KeyboardItemInfo& item : items) ASSERT_TRUE(table.AddOneItem(&item, true, false));
  EXPECT_EQ(LiveCount(table), 460);
  EXPECT_EQ(StoreViolations(table), "");
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(FindStored(table, items[i]), int(i));

  // Equal under the key comparison (spaces and case ignored) in the same category: not added,
  // and the stored record keeps its own extra info and object.
  UnknownCounters counters;
  TRefPtr<CCountingUnknown> kept(new CCountingUnknown(&counters));
  TRefPtr<CCountingUnknown> offered(new CCountingUnknown(&counters));
  const KeyboardItemInfo spaced = Item(L"12 34", L"ABC", L"名称", 0x0102, 0, 1, 7, kept.get());
  ASSERT_TRUE(table.AddOneItem(&spaced, true, false));
  const int position = FindStored(table, spaced);
  const int live = LiveCount(table);
  for (const wchar_t* code : {L"1234", L"12 34", L"1 234"}) {
    const KeyboardItemInfo twin = Item(code, L"abc", L"名称", 0x0102, 0, 1, 8, offered.get());
    EXPECT_TRUE(table.AddOneItem(&twin, true, false));
    EXPECT_EQ(LiveCount(table), live) << "code";
  }
  EXPECT_EQ(table.m_pItems[position].m_nExtraInfo, 7);
  EXPECT_EQ(table.m_pItems[position].m_pUnknown, kept.get());
  EXPECT_EQ(offered->RefCount(), 1);  // the refused records took no lasting reference

  // Another category, or the check skipped: stored.
  const KeyboardItemInfo otherCategory = Item(L"1234", L"ABC", L"名称", 0x0006, 0, 0);
  EXPECT_TRUE(table.AddOneItem(&otherCategory, true, false));
  EXPECT_EQ(LiveCount(table), live + 1);
  EXPECT_TRUE(table.AddOneItem(&spaced, true, true));
  EXPECT_EQ(LiveCount(table), live + 2);
  EXPECT_EQ(StoreViolations(table, false), "");
}

TEST(TableAdd, BulkAddsCheckDuplicatesUnlessTold) {
  TableHost host;
  ManagerScope manager;
  std::vector<KeyboardItemInfo> twice = MarketSecurities(50);
  const std::vector<KeyboardItemInfo> again = twice;
  twice.insert(twice.end(), again.begin(), again.end());
  std::vector<int> all;
  ASSERT_TRUE(manager->AddKeyboardItems(twice.data(), 100, &all, FALSE));
  EXPECT_EQ(LiveCount(*manager.Table()), 50);
  ASSERT_TRUE(manager->AddKeyboardItems(twice.data(), 100, nullptr, TRUE));
  EXPECT_EQ(LiveCount(*manager.Table()), 150);
}

TEST(TableAdd, NumericCommandKeysGoToTheMapAndFollowGrowth) {
  TableHost host;
  KeyboardInputMappingTable table;
  const KeyboardItemInfo zxg = Cmd(L"06", L"ZXG", L"", 0x6400);
  ASSERT_TRUE(table.AddOneItem(&zxg, true, false));
  ASSERT_EQ(table.m_mapNumericKeys.size(), 1u);
  EXPECT_EQ(table.m_mapNumericKeys.begin()->first, table.m_pItems[0].m_szCode);
  EXPECT_EQ(table.m_mapNumericKeys.begin()->second, 0);
  EXPECT_EQ(table.m_nSlotCount, 2);  // hot key and the empty name; no slot for the code
  EXPECT_TRUE(table.m_arrIndex[0][5].empty());
  EXPECT_TRUE(table.m_arrIndex[1][5].empty());
  for (int group : {2, 3}) EXPECT_EQ(ListKeys(table, group, 5), std::vector<std::wstring>{L"ZXG"});
  for (int group : {4, 5}) EXPECT_EQ(ListKeys(table, group, 5), std::vector<std::wstring>{L""});

  // An indicator command is not numeric: its digit code is indexed.
  const KeyboardItemInfo indicator = Cmd(L"06", L"ZB", L"指标", 0x6500);
  ASSERT_TRUE(table.AddOneItem(&indicator, true, false));
  EXPECT_EQ(ListKeys(table, 0, 6), std::vector<std::wstring>{L"06"});
  // Every digit-only key of a numeric command goes to the map.
  const KeyboardItemInfo twoDigitKeys = Cmd(L"61", L"TJ", L"61", 0x6400);
  ASSERT_TRUE(table.AddOneItem(&twoDigitKeys, true, false));
  ASSERT_EQ(table.m_mapNumericKeys.count(L"61"), 2u);
  EXPECT_EQ(table.m_mapNumericKeys.size(), 3u);
  ASSERT_TRUE(table.AddOneItem(&zxg, true, false));
  EXPECT_EQ(LiveCount(table), 3);
  EXPECT_EQ(StoreViolations(table), "");

  // Growing moves the records; the map must point into the new array.
  const std::vector<KeyboardItemInfo> many = MarketSecurities(8200);
  ASSERT_TRUE(table.AddKeyboardItem(many.data(), 8200, &kAllCategories, false));
  EXPECT_EQ(table.m_nCapacity, 3 + 8200 + 100);
  EXPECT_EQ(StoreViolations(table), "");
  EXPECT_EQ(FindStored(table, zxg), 0);
  EXPECT_EQ(FindStored(table, twoDigitKeys), 2);
  ASSERT_TRUE(table.AddOneItem(&zxg, true, false));  // still a duplicate
  ASSERT_TRUE(table.AddOneItem(&twoDigitKeys, true, false));
  EXPECT_EQ(LiveCount(table), 8203);
}

TEST(TableAdd, ReleasedPositionsAndSlotsAreReusedSmallestFirst) {
  TableHost host;
  KeyboardInputMappingTable table;
  UnknownCounters counters;
  TRefPtr<CCountingUnknown> object(new CCountingUnknown(&counters));
  const KeyboardItemInfo a = Item(L"600001", L"AAA", L"甲", 0x0102, 0, 1, -1, object.get());
  const KeyboardItemInfo b = Stock(L"600002", L"BBB", L"乙");
  const KeyboardItemInfo c = Stock(L"600003", L"CCC", L"丙");
  const KeyboardItemInfo d = Stock(L"600004", L"DDD", L"丁");
  for (const KeyboardItemInfo* item : {&a, &b, &c, &d})
    ASSERT_TRUE(table.AddOneItem(item, true, false));
  const int heldByStore = object->RefCount();

  const KeyboardItemInfo* removed[] = {&c, &a};
  for (const KeyboardItemInfo* item : removed) {
    unsigned short type = item->m_wType;
    DWORD kind = item->m_dwKind;
    ASSERT_EQ(table.RemoveItem(item->m_szCode, item->m_szHotKey, item->m_szName, &type, &kind), 1);
  }
  EXPECT_EQ(table.m_setFreeItems, (std::set<int>{0, 2}));
  EXPECT_EQ(table.m_setFreeSlots, (std::set<int>{0, 1, 2, 6, 7, 8}));
  EXPECT_EQ(table.m_nItemCount, 4);
  // The released record stays in place with its object until the position is reused.
  EXPECT_STREQ(table.m_pItems[0].m_szCode, L"600001");
  EXPECT_EQ(object->RefCount(), heldByStore);

  const KeyboardItemInfo e = Stock(L"600005", L"EEE", L"戊");
  const KeyboardItemInfo f = Stock(L"600006", L"FFF", L"己");
  const KeyboardItemInfo g = Stock(L"600007", L"GGG", L"庚");
  ASSERT_TRUE(table.AddOneItem(&e, true, false));
  EXPECT_EQ(object->RefCount(), heldByStore - 1);
  ASSERT_TRUE(table.AddOneItem(&f, true, false));
  ASSERT_TRUE(table.AddOneItem(&g, true, false));
  EXPECT_EQ(FindStored(table, e), 0);
  EXPECT_EQ(FindStored(table, f), 2);
  EXPECT_EQ(FindStored(table, g), 4);
  const struct {
    int slot, item, key;
  } kSlots[] = {{0, 0, 0}, {1, 0, 1}, {2, 0, 2},  {6, 2, 0},
                {7, 2, 1}, {8, 2, 2}, {12, 4, 0}, {14, 4, 2}};
  for (const auto& s : kSlots) {
    EXPECT_EQ(table.m_pSlots[s.slot].m_nItem, s.item) << s.slot;
    EXPECT_EQ(table.m_pSlots[s.slot].m_nKey, s.key) << s.slot;
  }
  EXPECT_EQ(table.m_nItemCount, 5);
  EXPECT_EQ(table.m_nSlotCount, 15);
  EXPECT_TRUE(table.m_setFreeItems.empty() && table.m_setFreeSlots.empty());

  // A bulk add reuses them the same way.
  unsigned short type = b.m_wType;
  DWORD kind = b.m_dwKind;
  ASSERT_EQ(table.RemoveItem(b.m_szCode, b.m_szHotKey, b.m_szName, &type, &kind), 1);
  const std::vector<KeyboardItemInfo> two = {Stock(L"600008", L"HHH", L"辛"),
                                             Stock(L"600009", L"III", L"壬")};
  ASSERT_TRUE(table.AddKeyboardItem(two.data(), 2, &kAllCategories, false));
  EXPECT_EQ(FindStored(table, two[0]), 1);
  EXPECT_EQ(FindStored(table, two[1]), 5);
  EXPECT_EQ(table.m_pSlots[3].m_nItem, 1);
  EXPECT_EQ(table.m_pSlots[15].m_nItem, 5);
  EXPECT_EQ(StoreViolations(table), "");
}

TEST(TableAdd, SingleAddsGrowByOneStepPastTheInitialCapacity) {
  TableHost host;
  ManagerScope manager;
  KeyboardInputMappingTable* table = manager.Table();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->m_nCapacity, 8100);
  std::vector<KeyboardItemInfo> items = MarketSecurities(8101);
  for (int i = 0; i < 8100; ++i) ASSERT_TRUE(manager->AddOneKeyboardItem(&items[i]));
  EXPECT_EQ(table->m_nCapacity, 8100);
  ASSERT_TRUE(manager->AddOneKeyboardItem(&items[8100]));
  EXPECT_EQ(table->m_nCapacity, 8201);
  EXPECT_EQ(table->m_nItemCount, 8101);
  EXPECT_EQ(table->m_pSlots[3 * 8201 - 1].m_nItem, -1);
  EXPECT_EQ(table->m_pSlots[3 * 8201 - 1].m_nKey, 255);
  EXPECT_EQ(std::count(table->m_pHitFlags, table->m_pHitFlags + 8201, 0), 8201);
  for (int i : {0, 4000, 8099, 8100}) EXPECT_EQ(FindStored(*table, items[i]), i);
  EXPECT_EQ(StoreViolations(*table), "");
}

TEST(TableAdd, BulkAddGrowsOnceToTheNeededCount) {
  TableHost host;
  {
    KeyboardInputMappingTable table;
    const std::vector<KeyboardItemInfo> items = MarketSecurities(10000);
    ASSERT_TRUE(table.AddKeyboardItem(items.data(), 10000, &kAllCategories, false));
    // Growing record by record would have ended at 10019.
    EXPECT_EQ(table.m_nCapacity, 10100);
    EXPECT_EQ(table.m_nItemCount, 10000);
    EXPECT_EQ(StoreViolations(table), "");
  }
  {
    // Released positions count as room: 100 stored, 50 released, 8060 more need 8110.
    KeyboardInputMappingTable table;
    const std::vector<KeyboardItemInfo> first = MarketSecurities(100);
    ASSERT_TRUE(table.AddKeyboardItem(first.data(), 100, &kAllCategories, false));
    for (int i = 0; i < 100; i += 2) {
      unsigned short type = first[i].m_wType;
      DWORD kind = first[i].m_dwKind;
      ASSERT_EQ(
          table.RemoveItem(first[i].m_szCode, first[i].m_szHotKey, first[i].m_szName, &type, &kind),
          1);
    }
    const std::vector<KeyboardItemInfo> more = MarketSecurities(8060, 100);
    ASSERT_TRUE(table.AddKeyboardItem(more.data(), 8060, &kAllCategories, false));
    EXPECT_EQ(table.m_nCapacity, 8210);
    EXPECT_EQ(LiveCount(table), 8110);
    EXPECT_EQ(StoreViolations(table), "");
  }
}

// A removal by the code "1234" of a record stored as "12 34" finds its code slot (spaces are
// skipped) but not the others (identities compare without skipping): two slots stay taken each
// time. The slot table must grow, not be written past its end.
TEST(TableAdd, SlotTableGrowsWhenRemovalsLeaveSlotsTaken) {
  TableHost host;
  KeyboardInputMappingTable table;
  const std::vector<KeyboardItemInfo> fill = MarketSecurities(8000);
  ASSERT_TRUE(table.AddKeyboardItem(fill.data(), 8000, &kAllCategories, false));
  ASSERT_EQ(table.m_nSlotCount, 24000);
  const KeyboardItemInfo spaced = Stock(L"12 34", L"KK", L"空格");
  for (int cycle = 0; cycle < 200; ++cycle) {
    ASSERT_TRUE(table.AddOneItem(&spaced, true, false)) << cycle;
    ASSERT_LE(table.m_nSlotCount, 3 * table.m_nCapacity) << cycle;
    ASSERT_EQ(Remove(table, L"1234", L"KK", L"空格"), 1) << cycle;
  }
  EXPECT_GT(table.m_nCapacity, 8100);
  EXPECT_GT(table.m_nSlotCount, 24300);
  ASSERT_TRUE(table.AddOneItem(&spaced, true, false));
  EXPECT_GE(FindStored(table, spaced), 0);
}

TEST(TableAdd, BulkAddSortsOnlyTheListedCategories) {
  TableHost host;
  KeyboardInputMappingTable table;
  // Keys descend in both directions, so appended lists are out of order until sorted.
  std::vector<KeyboardItemInfo> items;
  for (int i = 9; i >= 0; --i) {
    const std::wstring code = L"60000" + std::to_wstring(i);
    const std::wstring hotKey = std::wstring(L"H") + wchar_t(L'A' + i);
    const std::wstring name = std::wstring(1, wchar_t(0x4E00 + i)) + L"股";
    for (unsigned short type : {0x0102, 0x0006, 0x0103})  // categories 11, 12, 17
      items.push_back(Stock(code.c_str(), hotKey.c_str(), name.c_str(), type));
  }
  const std::vector<int> listed = {11, 12};
  ASSERT_TRUE(table.AddKeyboardItem(items.data(), int(items.size()), &listed, false));
  std::vector<int> appended;
  for (int p = 2; p < 30; p += 3) appended.push_back(p);
  for (int g = 0; g < INDEX_GROUPS; ++g) {
    EXPECT_TRUE(InOrder(table, g, 11)) << g;
    EXPECT_TRUE(InOrder(table, g, 12)) << g;
    EXPECT_FALSE(InOrder(table, g, 17)) << g;
    EXPECT_EQ(ListPositions(table, g, 17), appended) << g;
  }
  // Numbers outside 0..71 are skipped.
  const KeyboardItemInfo one = Stock(L"600010", L"HK", L"丁股", 0x0103);
  const std::vector<int> odd = {-5, 72, 1000, 17};
  ASSERT_TRUE(table.AddKeyboardItem(&one, 1, &odd, false));
  EXPECT_EQ(StoreViolations(table), "");
}

// Records the names and file types of the loggers that the component asks for.
struct LogCapture {
  std::mutex mutex;
  std::vector<std::wstring> names;
  std::vector<LIGHT_LOG_FILE_TYPE> types;
  int destroyed = 0;
};

class CapturingLogger : public LightLogger::CLogger {
 public:
  explicit CapturingLogger(LogCapture* capture) : m_pCapture(capture) {}
  ~CapturingLogger() override {
    std::lock_guard<std::mutex> lock(m_pCapture->mutex);
    ++m_pCapture->destroyed;
  }
  void SetLogLevel(int) override {}
  void WriteLogLine(const wchar_t*, int) override {}

 private:
  LogCapture* m_pCapture;
};

LightLogger::CLogger* CaptureLogger(void* context, const wchar_t* name, LIGHT_LOG_FILE_TYPE type) {
  auto* capture = static_cast<LogCapture*>(context);
  std::lock_guard<std::mutex> lock(capture->mutex);
  capture->names.push_back(name ? name : L"(null)");
  capture->types.push_back(type);
  return new CapturingLogger(capture);
}

class TableAddLog : public ::testing::Test {
 protected:
  void SetUp() override { SetLoggerFactory(CaptureLogger, &m_capture); }
  void TearDown() override { SetLoggerFactory(nullptr, nullptr); }
  LogCapture m_capture;
};

TEST_F(TableAddLog, EverySuccessfulBulkAddLogsItsDelayTimeOnce) {
  TableHost host;
  KeyboardInputMappingTable table;
  const std::vector<KeyboardItemInfo> items = MarketSecurities(300);
  ASSERT_TRUE(table.AddKeyboardItem(items.data(), 300, &kAllCategories, false));
  ASSERT_EQ(m_capture.names.size(), 1u);
  const std::wstring prefix = L"[KeyboardInputMappingTable::AddKeyboardItem] DelayTime=  ";
  const std::wstring& line = m_capture.names[0];
  ASSERT_EQ(line.compare(0, prefix.size(), prefix), 0);
  const std::wstring delay = line.substr(prefix.size());
  EXPECT_FALSE(delay.empty());
  EXPECT_EQ(delay.find_first_not_of(L"0123456789"), std::wstring::npos);
  EXPECT_EQ(m_capture.types[0], LIGHT_LOG_FILE_TIMING);
  EXPECT_EQ(m_capture.destroyed, 1);  // the logger handed out is released again

  // Single adds and refused bulk adds log nothing.
  const std::vector<KeyboardItemInfo> commands = MarketCommands(12);
  ASSERT_TRUE(table.AddOneItem(&commands[0], true, false));
  host.Env()->SetClosing(true);
  EXPECT_FALSE(table.AddKeyboardItem(commands.data(), 12, &kAllCategories, false));
  host.Env()->SetClosing(false);
  EXPECT_EQ(m_capture.names.size(), 1u);
  // The rebuild adds in bulk.
  EXPECT_TRUE(table.RetainCommandItems());
  EXPECT_EQ(m_capture.names.size(), 2u);
  EXPECT_EQ(m_capture.destroyed, 2);
}

TEST(TableAdd, RefusedAddsChangeNothing) {
  ASSERT_FALSE(CGlobalEnv::GetGlobalEnv()) << "another test left its environment behind";
  KeyboardInputMappingTable table;
  const KeyboardItemInfo item = Stock(L"600000", L"PFYH", L"浦发银行");
  EXPECT_FALSE(table.AddOneItem(&item, true, false));
  EXPECT_FALSE(table.AddKeyboardItem(&item, 1, &kAllCategories, false));
  TableHost host;
  host.Env()->SetClosing(true);
  EXPECT_FALSE(table.AddOneItem(&item, true, false));
  EXPECT_FALSE(table.AddKeyboardItem(&item, 1, &kAllCategories, false));
  host.Env()->SetClosing(false);
  EXPECT_FALSE(table.AddOneItem(nullptr, true, false));
  EXPECT_FALSE(table.AddKeyboardItem(nullptr, 1, &kAllCategories, false));
  EXPECT_EQ(table.m_nItemCount, 0);
  EXPECT_EQ(table.m_nSlotCount, 0);
  EXPECT_EQ(StoreViolations(table), "");
  EXPECT_TRUE(table.AddOneItem(&item, true, false));
  EXPECT_EQ(table.m_nItemCount, 1);
}

// Only a position outside the store reaches the error box; a corrupted free set makes one.
TEST(TableAdd, PositionOutOfRangeShowsTheErrorAndStopsTheBulkAdd) {
#ifdef _WIN32
  GTEST_SKIP() << "the error box is modal on Windows; the native run covers this path";
#endif
  TableHost host;
  KeyboardInputMappingTable table;
  const std::vector<KeyboardItemInfo> items = MarketSecurities(5);
  ASSERT_TRUE(table.AddOneItem(&items[0], true, false));
  ASSERT_TRUE(table.AddOneItem(&items[1], true, false));
  unsigned short type = items[0].m_wType;
  DWORD kind = items[0].m_dwKind;
  ASSERT_EQ(
      table.RemoveItem(items[0].m_szCode, items[0].m_szHotKey, items[0].m_szName, &type, &kind), 1);
  table.m_setFreeItems.insert(9000);
  testing::internal::CaptureStderr();
  const bool added = table.AddKeyboardItem(&items[2], 3, &kAllCategories, false);
  const std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(added);
  EXPECT_NE(shown.find("ErrorKeyboardItemIndex"), std::string::npos) << shown;
  EXPECT_EQ(FindStored(table, items[2]), 0);  // stored before the refusal, and findable
  EXPECT_EQ(FindStored(table, items[3]), -1);
  EXPECT_EQ(FindStored(table, items[4]), -1);

  table.m_setFreeItems = {-1};
  testing::internal::CaptureStderr();
  EXPECT_FALSE(table.AddOneItem(&items[3], true, false));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("ErrorKeyboardItemIndex"),
            std::string::npos);
}

}  // namespace
