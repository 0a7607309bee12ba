#include "TableFixture.h"

#include <array>
#include <cwchar>
#include <set>
#include <sstream>

#include "frame/HotKeyManager.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"

namespace store_test {

TableHost::TableHost() : m_master(new CSecurityMaster) { m_env->SetDataMgr(m_master.get()); }

TableHost::~TableHost() { m_env->SetDataMgr(nullptr); }

ManagerScope::ManagerScope(bool initialize) : m_pManager(nullptr) {
  IUnknown* unknown = nullptr;
  if (GetClassObject(&unknown, HOTKEY_MANAGER_CLSID) == S_OK)
    m_pManager = static_cast<IHotKeyManager*>(unknown);
  if (m_pManager && initialize) m_pManager->Initialize();
}

ManagerScope::~ManagerScope() {
  if (!m_pManager) return;
  m_pManager->Uninitialize();
  m_pManager->Release();
}

KeyboardInputMappingTable* ManagerScope::Table() const {
  return m_pManager ? static_cast<CHotKeyManager*>(m_pManager)->MappingTable() : nullptr;
}

KeyboardItemInfo Item(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                      unsigned short type, DWORD kind, unsigned char market, int extra,
                      IUnknown* unknown) {
  KeyboardItemInfo item(code, hotKey, name, type, extra, unknown, kind, KEYBOARD_SELECT_NONE);
  item.m_cMarket = market;
  return item;
}

KeyboardItemInfo Stock(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                       unsigned short type, unsigned char market) {
  return Item(code, hotKey, name, type, 0, market);
}

KeyboardItemInfo Cmd(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                     unsigned short type) {
  return Item(code, hotKey, name, type, KIND_COMMAND);
}

namespace {

// Common characters of security names with the initial of their reading: names made of them
// share hot keys the way real ones do.
const struct {
  wchar_t character;
  wchar_t initial;
} kNameChars[] = {
    {L'中', L'Z'}, {L'国', L'G'}, {L'银', L'Y'}, {L'行', L'H'}, {L'平', L'P'}, {L'安', L'A'},
    {L'科', L'K'}, {L'技', L'J'}, {L'电', L'D'}, {L'力', L'L'}, {L'能', L'N'}, {L'源', L'Y'},
    {L'股', L'G'}, {L'份', L'F'}, {L'华', L'H'}, {L'新', L'X'}, {L'东', L'D'}, {L'方', L'F'},
    {L'海', L'H'}, {L'天', L'T'}, {L'金', L'J'}, {L'融', L'R'}, {L'信', L'X'}, {L'达', L'D'},
    {L'通', L'T'}, {L'光', L'G'}, {L'明', L'M'}, {L'实', L'S'}, {L'业', L'Y'}, {L'发', L'F'},
    {L'展', L'Z'}, {L'建', L'J'}, {L'设', L'S'}, {L'投', L'T'}, {L'资', L'Z'}, {L'药', L'Y'},
    {L'汽', L'Q'}, {L'车', L'C'}, {L'医', L'Y'}, {L'保', L'B'},
};
const int kNameCharCount = sizeof(kNameChars) / sizeof(kNameChars[0]);

uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

std::wstring Digits(int value, int width) {
  std::wstring text = std::to_wstring(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), L'0');
  return text;
}

// Base-26 letters, at least width of them and more when the value needs them: never wraps.
std::wstring Letters(int value, int width) {
  std::wstring text;
  do {
    text.insert(text.begin(), static_cast<wchar_t>(L'A' + value % 26));
    value /= 26;
  } while (value > 0 || static_cast<int>(text.size()) < width);
  return text;
}

// Name of two to four characters and its initials as the hot key.
void NameAndHotKey(uint64_t seed, std::wstring* name, std::wstring* hotKey) {
  uint64_t h = Mix(seed);
  int length = 2 + static_cast<int>(h % 3);
  name->clear();
  hotKey->clear();
  for (int i = 0; i < length; ++i) {
    h = Mix(h);
    const auto& c = kNameChars[h % kNameCharCount];
    name->push_back(c.character);
    hotKey->push_back(c.initial);
  }
}

}  // namespace

std::vector<KeyboardItemInfo> MarketSecurities(int count, int firstId) {
  struct Kind {
    unsigned short type;
    unsigned char market;
  };
  // 沪A, 深A, 指数, 港股, 美股, 期货, 基金, 深B.
  const Kind kKinds[] = {{0x0102, 1}, {0x0006, 0}, {0x0101, 1}, {0x7403, 2},
                         {0x6901, 3}, {0x8200, 4}, {0x0109, 1}, {0x0007, 0}};
  std::vector<KeyboardItemInfo> items;
  items.reserve(count);
  for (int id = firstId; id < firstId + count; ++id) {
    int row = id % 8, k = id / 8;
    std::wstring code;
    switch (row) {
      case 0:
        code = Digits(600000 + k, 6);
        break;
      case 1:
        code = Digits(1 + k, 6);
        break;
      case 2:
        code = Digits(1 + k, 6);
        break;
      case 3:
        code = Digits(1 + k, 5);
        break;
      case 4:
        code = Letters(k, 4);
        break;
      case 5:
        code = Letters(k % 676, 2) + Digits(k / 676, 4);
        break;
      case 6:
        code = Digits(500000 + k, 6);
        break;
      default:
        code = Digits(200000 + k, 6);
        break;
    }
    std::wstring name, hotKey;
    NameAndHotKey(static_cast<uint64_t>(id), &name, &hotKey);
    DWORD kind = 0;
    // Some Shanghai codes also come as an alias or a former name (categories 10 and 65).
    if (row == 0 && k % 6 == 5) kind = KIND_ALIAS;
    if (row == 0 && k % 6 == 4) kind = KIND_FORMER_NAME;
    items.push_back(Item(code.c_str(), hotKey.c_str(), name.c_str(), kKinds[row].type, kind,
                         kKinds[row].market));
  }
  return items;
}

std::vector<KeyboardItemInfo> MarketCommands(int count, int firstId) {
  std::vector<KeyboardItemInfo> items;
  items.reserve(count);
  for (int id = firstId; id < firstId + count; ++id) {
    int row = id % 6, k = id / 6;
    std::wstring code;
    unsigned short type;
    switch (row) {
      case 0:
        code = Digits(k, 2), type = 0x6400;
        break;  // 功能, numeric
      case 1:
        code = L"ZB" + Letters(k, 3), type = 0x6500;
        break;  // 指标
      case 2:
        code = L"XG" + Letters(k, 3), type = 0x6501;
        break;  // 选股
      case 3:
        code = L"WC" + Letters(k, 3), type = 0x6503;
        break;  // 五彩
      case 4:
        code = L"88" + Digits(k, 4), type = 0x6600;
        break;  // 板块
      default:
        code = L"JY" + Letters(k, 3), type = static_cast<unsigned short>(0x6700 + k % 5);
        break;  // 交易
    }
    std::wstring name, hotKey;
    NameAndHotKey(0x100000000ull + static_cast<uint64_t>(id), &name, &hotKey);
    items.push_back(
        Item(code.c_str(), hotKey.c_str(), name.c_str(), type, KIND_COMMAND, 0xFF, 1000 + id));
  }
  return items;
}

int CategoryOfRecord(const KeyboardItemInfo& record) {
  int type = record.m_wType;
  DWORD kind = record.m_dwKind;
  return CategoryOf(&record, &type, &kind, 0);
}

int LiveCount(const KeyboardInputMappingTable& table) {
  return table.m_nItemCount - static_cast<int>(table.m_setFreeItems.size());
}

std::vector<int> ListPositions(const KeyboardInputMappingTable& table, int group, int category) {
  std::vector<int> positions;
  for (int slot : table.m_arrIndex[group][category])
    positions.push_back(table.m_pSlots[slot].m_nItem);
  return positions;
}

std::vector<std::wstring> ListKeys(const KeyboardInputMappingTable& table, int group,
                                   int category) {
  std::vector<std::wstring> keys;
  for (int slot : table.m_arrIndex[group][category]) {
    const KeySlot& s = table.m_pSlots[slot];
    keys.push_back(KeyText(table.m_pItems[s.m_nItem], s.m_nKey));
  }
  return keys;
}

int FindStored(const KeyboardInputMappingTable& table, const KeyboardItemInfo& identity) {
  unsigned short type = identity.m_wType;
  DWORD kind = identity.m_dwKind;
  return table.FindItem(identity.m_szCode, identity.m_szHotKey, identity.m_szName, &type, &kind);
}

std::string StoreViolations(const KeyboardInputMappingTable& t, bool checkOrder) {
  std::ostringstream out;
  int failures = 0;
  auto fail = [&](const std::string& what) {
    if (++failures <= 12) out << what << '\n';
  };
  bool anyListed = false;
  for (const auto& group : t.m_arrIndex)
    for (const auto& list : group) anyListed = anyListed || !list.empty();

  if (!t.m_pItems || !t.m_pSlots) {
    if (t.m_nItemCount || t.m_nSlotCount || t.m_nCapacity) fail("counts without storage");
    if (anyListed || !t.m_mapNumericKeys.empty()) fail("entries without storage");
    if (!t.m_setFreeItems.empty() || !t.m_setFreeSlots.empty()) fail("free sets without storage");
    return out.str();
  }
  const int items = t.m_nItemCount, slots = t.m_nSlotCount, capacity = t.m_nCapacity;
  if (items < 0 || items > capacity)
    fail("item count " + std::to_string(items) + " outside capacity " + std::to_string(capacity));
  if (slots < 0 || slots > 3 * capacity) fail("slot count " + std::to_string(slots));
  if (!t.m_pHitFlags) fail("no hit flags");
  for (int p : t.m_setFreeItems)
    if (p < 0 || p >= items) fail("free position " + std::to_string(p) + " never handed out");
  for (int s : t.m_setFreeSlots)
    if (s < 0 || s >= slots) fail("free slot " + std::to_string(s) + " never handed out");
  if (failures) return out.str();

  std::vector<int> seen[2] = {std::vector<int>(slots), std::vector<int>(slots)};
  std::vector<std::array<int, 3>> indexed(items, std::array<int, 3>{0, 0, 0});
  for (int g = 0; g < INDEX_GROUPS; ++g) {
    const KeyCompareMode mode = {static_cast<unsigned char>(g % 2), 0};
    for (int c = 0; c < ITEM_CATEGORIES; ++c) {
      const IndexList& list = t.m_arrIndex[g][c];
      const wchar_t* previous = nullptr;
      for (size_t i = 0; i < list.size(); ++i) {
        const int s = list[i];
        const std::string where = "list [" + std::to_string(g) + "][" + std::to_string(c) +
                                  "] entry " + std::to_string(i) + " (slot " + std::to_string(s) +
                                  ")";
        if (s < 0 || s >= slots) {
          fail(where + " is beyond the slot count");
          continue;
        }
        if (t.m_setFreeSlots.count(s)) fail(where + " is a released slot");
        const KeySlot& slot = t.m_pSlots[s];
        const int p = slot.m_nItem;
        if (slot.m_nKey != g / 2 || p < 0 || p >= items) {
          fail(where + " stands for key " + std::to_string(slot.m_nKey) + " of position " +
               std::to_string(p));
          continue;
        }
        if (t.m_setFreeItems.count(p))
          fail(where + " belongs to released position " + std::to_string(p));
        if (CategoryOfRecord(t.m_pItems[p]) != c) fail(where + " is outside its category");
        ++seen[g % 2][s];
        if (g % 2 == 0) ++indexed[p][g / 2];
        const wchar_t* text = KeyText(t.m_pItems[p], slot.m_nKey);
        if (checkOrder && previous && CompareKey(&mode, previous, text) > 0)
          fail(where + " is out of order");
        previous = text;
      }
    }
  }
  for (int s = 0; s < slots; ++s) {
    if (t.m_setFreeSlots.count(s)) continue;
    if (seen[0][s] != 1 || seen[1][s] != 1)
      fail("slot " + std::to_string(s) + " is in " + std::to_string(seen[0][s]) + " forward and " +
           std::to_string(seen[1][s]) + " backward lists");
  }

  std::vector<int> mapped(items);
  const KeyboardItemInfo* begin = t.m_pItems;
  const KeyboardItemInfo* end = t.m_pItems + capacity;
  for (const auto& entry : t.m_mapNumericKeys) {
    const int p = entry.second;
    const std::string where = "map entry of position " + std::to_string(p);
    const auto* address = reinterpret_cast<const unsigned char*>(entry.first);
    if (address < reinterpret_cast<const unsigned char*>(begin) ||
        address >= reinterpret_cast<const unsigned char*>(end)) {
      fail(where + " points outside the record array");
      continue;
    }
    if (p < 0 || p >= items) {
      fail(where + " is beyond the item count");
      continue;
    }
    if (t.m_setFreeItems.count(p)) fail(where + " is a released position");
    const KeyboardItemInfo& r = t.m_pItems[p];
    if (entry.first != r.m_szCode && entry.first != r.m_szHotKey && entry.first != r.m_szName)
      fail(where + " points at another record");
    if (!IsNumericCommand(r) || ClassifyKey(entry.first) != 0)
      fail(where + " is not a digit key of a numeric command");
    ++mapped[p];
  }

  for (int p = 0; p < items; ++p) {
    if (t.m_setFreeItems.count(p)) continue;
    const KeyboardItemInfo& r = t.m_pItems[p];
    int digitKeys = 0;
    for (int k = 0; k < 3; ++k) {
      const bool inMap = IsNumericCommand(r) && ClassifyKey(KeyText(r, k)) == 0;
      digitKeys += inMap ? 1 : 0;
      if (indexed[p][k] != (inMap ? 0 : 1))
        fail("position " + std::to_string(p) + " key " + std::to_string(k) + " has " +
             std::to_string(indexed[p][k]) + " slots");
    }
    if (mapped[p] != digitKeys)
      fail("position " + std::to_string(p) + " has " + std::to_string(mapped[p]) +
           " map entries for " + std::to_string(digitKeys) + " digit keys");
  }
  return out.str();
}

}  // namespace store_test
