#include "TableFixture.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <sstream>

#include "frame/HotKeyManager.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"

KeyboardItemInfo Item(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                      unsigned short type, DWORD kind, unsigned char market, int extra,
                      IUnknown* unknown) {
  KeyboardItemInfo item(code, hotKey, name, type, extra, unknown, kind, KEYBOARD_SELECT_NONE);
  item.m_cMarket = market;
  return item;
}

TableHost::TableHost(bool withDataCentre) : m_master(new CSecurityMaster) {
  if (withDataCentre) m_env->SetDataMgr(m_master.get());
}

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

namespace {

// Common characters of security names with the initials of their reading: names made of them
// share hot keys the way real ones do.
const wchar_t kNameChars[] =
    L"中国银行平安科技电力能源股份华新东方海天金融信达通光明实业发展建设投资药汽车医保";
const wchar_t kInitials[] = L"ZGYHPAKJDLNYGFHXDFHTJRXDTGMSYFZJSTZYQCYB";
const int kNameCharCount = sizeof(kInitials) / sizeof(kInitials[0]) - 1;

uint64_t Mix(uint64_t x) {
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

std::wstring Digits(int value, int width) {
  const std::wstring text = std::to_wstring(value);
  return std::wstring(std::max(0, width - int(text.size())), L'0') + text;
}

// Base-26 letters, at least width of them and more when the value needs them: never wraps.
std::wstring Letters(int value, int width) {
  std::wstring text;
  for (; value > 0 || int(text.size()) < width; value /= 26) text.insert(0, 1, L'A' + value % 26);
  return text;
}

// A name of two to four characters and its initials as the hot key.
KeyboardItemInfo Named(uint64_t seed, const std::wstring& code, unsigned short type, DWORD kind,
                       unsigned char market, int extra) {
  uint64_t h = Mix(seed + 0x9E3779B97F4A7C15ull);
  std::wstring name, hotKey;
  for (int i = 0, length = 2 + int(h % 3); i < length; ++i) {
    h = Mix(h + 0x9E3779B97F4A7C15ull);
    name.push_back(kNameChars[h % kNameCharCount]);
    hotKey.push_back(kInitials[h % kNameCharCount]);
  }
  return Item(code.c_str(), hotKey.c_str(), name.c_str(), type, kind, market, extra);
}

}  // namespace

std::vector<KeyboardItemInfo> MarketSecurities(int count, int firstId) {
  // 沪A, 深A, 指数, 港股, 美股, 期货, 基金, 深B; some Shanghai codes also come as an alias or a
  // former name (categories 10 and 65).
  const unsigned short kTypes[] = {0x0102, 0x0006, 0x0101, 0x7403, 0x6901, 0x8200, 0x0109, 0x0007};
  const unsigned char kMarkets[] = {1, 0, 1, 2, 3, 4, 1, 0};
  std::vector<KeyboardItemInfo> items;
  for (int id = firstId, row = id % 8, k = id / 8; id < firstId + count;
       ++id, row = id % 8, k = id / 8) {
    const std::wstring codes[] = {Digits(600000 + k, 6), Digits(1 + k, 6),
                                  Digits(1 + k, 6),      Digits(1 + k, 5),
                                  Letters(k, 4),         Letters(k % 676, 2) + Digits(k / 676, 4),
                                  Digits(500000 + k, 6), Digits(200000 + k, 6)};
    const DWORD kind = row != 0 ? 0 : k % 6 == 5 ? KIND_ALIAS : k % 6 == 4 ? KIND_FORMER_NAME : 0;
    items.push_back(Named(id, codes[row], kTypes[row], kind, kMarkets[row], -1));
  }
  return items;
}

std::vector<KeyboardItemInfo> MarketCommands(int count, int firstId) {
  std::vector<KeyboardItemInfo> items;
  for (int id = firstId, row = id % 6, k = id / 6; id < firstId + count;
       ++id, row = id % 6, k = id / 6) {
    // 功能 (numeric), 指标, 选股, 五彩, 板块, 交易.
    const std::wstring codes[] = {Digits(k, 2),          L"ZB" + Letters(k, 3),
                                  L"XG" + Letters(k, 3), L"WC" + Letters(k, 3),
                                  L"88" + Digits(k, 4),  L"JY" + Letters(k, 3)};
    const unsigned short types[] = {0x6400, 0x6500, 0x6501, 0x6503, 0x6600, 0x6700};
    items.push_back(Named(0x100000000ull + id, codes[row], types[row] + (row == 5 ? k % 5 : 0),
                          KIND_COMMAND, 0xFF, 1000 + id));
  }
  return items;
}

bool AddEach(KeyboardInputMappingTable& table, const std::vector<KeyboardItemInfo>& items) {
  bool ok = true;
  for (const KeyboardItemInfo& item : items) ok = table.AddOneItem(&item, true, false) && ok;
  return ok;
}

bool AddAll(KeyboardInputMappingTable& table, const std::vector<KeyboardItemInfo>& items) {
  const std::vector<int> allCategories;
  return table.AddKeyboardItem(items.data(), int(items.size()), &allCategories, false);
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

int RemoveStored(KeyboardInputMappingTable& table, const KeyboardItemInfo& identity) {
  unsigned short type = identity.m_wType;
  DWORD kind = identity.m_dwKind;
  return table.RemoveItem(identity.m_szCode, identity.m_szHotKey, identity.m_szName, &type, &kind);
}

std::string StoreViolations(const KeyboardInputMappingTable& t, bool checkOrder) {
  std::ostringstream out;
  int failures = 0;
  // Messages are made only for what fails: the fuzzer checks the store after every step.
  auto check = [&](bool ok, const auto& what) {
    if (!ok && ++failures <= 12) out << what() << '\n';
    return ok;
  };
  auto str = [](long long n) { return std::to_string(n); };
  const int items = t.m_nItemCount, slots = t.m_nSlotCount, capacity = t.m_nCapacity;
  bool anyEntry = !t.m_mapNumericKeys.empty();
  for (const auto& group : t.m_arrIndex)
    for (const auto& list : group) anyEntry = anyEntry || !list.empty();
  if (!t.m_pItems || !t.m_pSlots) {
    check(!items && !slots && !capacity && !anyEntry,
          [&] { return "counts or entries without storage"; });
    check(t.m_setFreeItems.empty() && t.m_setFreeSlots.empty(),
          [&] { return "free sets without storage"; });
    return out.str();
  }
  check(items >= 0 && items <= capacity && slots >= 0 && slots <= 3 * capacity, [&] {
    return "counts " + str(items) + " and " + str(slots) + " beyond capacity " + str(capacity);
  });
  check(items <= t.m_nRoom && slots <= 3 * t.m_nRoom, [&] {
    return "counts " + str(items) + " and " + str(slots) + " beyond the room " + str(t.m_nRoom);
  });
  check(t.m_pHitFlags != nullptr, [&] { return "no hit flags"; });
  for (int p : t.m_setFreeItems)
    check(p >= 0 && p < items, [&] { return "free position " + str(p); });
  for (int s : t.m_setFreeSlots) check(s >= 0 && s < slots, [&] { return "free slot " + str(s); });
  if (failures) return out.str();

  // Every live slot in exactly one forward and one backward list; every key of a live record
  // indexed once, except the digit keys of numeric commands, which are in the map instead.
  std::vector<int> seen[2] = {std::vector<int>(slots), std::vector<int>(slots)};
  std::vector<std::array<int, 3>> indexed(items, std::array<int, 3>{0, 0, 0});
  for (int g = 0; g < INDEX_GROUPS; ++g) {
    const KeyCompareMode mode = {static_cast<unsigned char>(g % 2), 0};
    for (int c = 0; c < ITEM_CATEGORIES; ++c) {
      const wchar_t* previous = nullptr;
      for (size_t i = 0; i < t.m_arrIndex[g][c].size(); ++i) {
        const int s = t.m_arrIndex[g][c][i];
        auto at = [&] { return "list [" + str(g) + "][" + str(c) + "] entry " + str(i) + ": "; };
        if (!check(s >= 0 && s < slots && !t.m_setFreeSlots.count(s),
                   [&] { return at() + "bad slot"; }))
          continue;
        const int p = t.m_pSlots[s].m_nItem, key = t.m_pSlots[s].m_nKey;
        if (!check(key == g / 2 && p >= 0 && p < items && !t.m_setFreeItems.count(p),
                   [&] { return at() + "key " + str(key) + " of position " + str(p); }))
          continue;
        check(CategoryOfRecord(t.m_pItems[p]) == c, [&] { return at() + "outside its category"; });
        ++seen[g % 2][s];
        indexed[p][key] += g % 2 == 0;
        const wchar_t* text = KeyText(t.m_pItems[p], key);
        check(!checkOrder || !previous || CompareKey(&mode, previous, text) <= 0,
              [&] { return at() + "out of order"; });
        previous = text;
      }
    }
  }
  // Beside every list, the prefix of each of its keys, in step; one that decides nothing always is.
  for (int g = 0; g < INDEX_GROUPS; ++g)
    for (int c = 0; c < ITEM_CATEGORIES; ++c) {
      const IndexList& list = t.m_arrIndex[g][c];
      const KeyPrefixList& prefixes = t.m_arrKeyPrefix[g][c];
      auto at = [&] { return "prefixes of [" + str(g) + "][" + str(c) + "]"; };
      if (!check(prefixes.size() == list.size(), [&] {
            return at() + ": " + str(prefixes.size()) + " for " + str(list.size()) + " entries";
          }))
        continue;
      for (size_t i = 0; i < list.size(); ++i) {
        const KeySlot& slot = t.m_pSlots[list[i]];
        if (slot.m_nItem < 0 || slot.m_nItem >= items || slot.m_nKey > 2) continue;
        check(
            prefixes[i] == keyprefix::kNone ||
                prefixes[i] == keyprefix::Of(KeyText(t.m_pItems[slot.m_nItem], slot.m_nKey), g % 2),
            [&] { return at() + " entry " + str(i) + ": out of step"; });
      }
      // The summary of first lanes never rules out a key that is there.
      check(list.empty() || prefixes.SummaryCovers(),
            [&] { return at() + ": summary leaves keys out"; });
      // The prefixes never claim an order that counting afresh does not find.
      if (!prefixes.Rising()) continue;
      KeyPrefixList recounted = prefixes;
      recounted.Recount();
      check((!prefixes.Rising() || recounted.Rising()) &&
                (!prefixes.RisingClean() || recounted.RisingClean()),
            [&] { return at() + ": order counted wrong"; });
    }
  for (int s = 0; s < slots; ++s)
    check(t.m_setFreeSlots.count(s) || (seen[0][s] == 1 && seen[1][s] == 1), [&] {
      return "slot " + str(s) + " in " + str(seen[0][s]) + "+" + str(seen[1][s]) + " lists";
    });

  // Every map entry points at a digit key of a live numeric command, in the record array.
  std::vector<int> mapped(items);
  for (const auto& entry : t.m_mapNumericKeys) {
    const int p = entry.second;
    auto at = [&] { return "map entry of position " + str(p) + ": "; };
    if (!check(p >= 0 && p < items && !t.m_setFreeItems.count(p),
               [&] { return at() + "no live record"; }))
      continue;
    const KeyboardItemInfo& r = t.m_pItems[p];
    check(entry.first == r.m_szCode || entry.first == r.m_szHotKey || entry.first == r.m_szName,
          [&] { return at() + "points elsewhere"; });
    check(IsNumericCommand(r) && ClassifyKey(entry.first) == 0,
          [&] { return at() + "not a numeric digit key"; });
    ++mapped[p];
  }
  for (int p = 0; p < items; ++p) {
    if (t.m_setFreeItems.count(p)) continue;
    int digitKeys = 0;
    for (int k = 0; k < 3; ++k) {
      const bool inMap =
          IsNumericCommand(t.m_pItems[p]) && ClassifyKey(KeyText(t.m_pItems[p], k)) == 0;
      digitKeys += inMap;
      check(indexed[p][k] == !inMap, [&] {
        return "position " + str(p) + " key " + str(k) + " has " + str(indexed[p][k]) + " slots";
      });
    }
    check(mapped[p] == digitKeys,
          [&] { return "position " + str(p) + " has " + str(mapped[p]) + " map entries"; });
  }
  return out.str();
}
