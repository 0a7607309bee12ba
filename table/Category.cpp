// Item categories: which of the 72 lists of a group holds a record's keys, and the name the
// suggestion list shows for it. A security's category follows from its type word: the high byte
// is the market group, the low byte the kind of security within it. Commands have type words of
// their own (market bytes 100 to 103).
#include <cstddef>
#include <cstdint>

#include "frame/DataComFun.h"
#include "platform/Platform.h"
#include "table/MappingTable.h"

namespace {

const wchar_t* const kCategoryNames[ITEM_CATEGORIES] = {
    L"交易", L"交易", L"交易", L"交易", L"交易",
    L"功能", L"指标", L"五彩", L"交易", L"选股",  // 0-9
    L"别名", L"沪A",  L"深A",  L"深A",  L"深A",
    L"科创", L"CDR",  L"沪B",  L"深B",  L"京A",  // 10-19
    L"三板", L"港股", L"港股", L"港股", L"粉单",
    L"美股", L"美股", L"美股", L"美股", L"美股",  // 20-29
    L"美股", L"美股", L"美股", L"美股", L"英股",
    L"指数", L"指数", L"指数", L"指数", L"基金",  // 30-39
    L"基金", L"债券", L"债券", L"指数", L"期货",
    L"期货", L"期货", L"期货", L"期货", L"现货",  // 40-49
    L"现货", L"现货", L"外汇", L"外汇", L"期权",
    L"指数", L"指数", L"港股", L"港股", L"港股",  // 50-59
    L"港股", L"港股", L"权证", L"权证", L"退市",
    L"曾用", L"未知", L"指数", L"汇率", L"指数",  // 60-69
    L"基金", L"板块",                             // 70-71
};

const int kUnknownCategory = 66;
// Market group 0, kind 81: Beijing A shares and the NEEQ share one kind; the code tells them
// apart (京A 19, 三板 20).
const int kBeijingOrNeeq = -1;

// Type words whose market byte and low byte both fall in the ranges (inclusive) belong to the
// category. Within a market range the first rule that takes the low byte decides; a type word
// that no rule takes is of no known category (未知). The comment gives the category's name.
struct CategoryRule {
  uint8_t marketFirst, marketLast;
  uint8_t lowFirst, lowLast;
  int category;
};

// Where each market byte's rules begin: the first rule whose market range does not end below it.
struct MarketIndex {
  uint8_t firstRule[256];
};

template <size_t N>
constexpr MarketIndex IndexByMarket(const CategoryRule (&rules)[N]) {
  static_assert(N < 256, "rule numbers are bytes");
  MarketIndex index{};
  size_t rule = 0;
  for (unsigned market = 0; market < 256; ++market) {
    while (rule < N && rules[rule].marketLast < market) ++rule;
    index.firstRule[market] = static_cast<uint8_t>(rule);
  }
  return index;
}

// In rising market order, and rules of one market range next to each other, so that a market's
// rules are found from an index by market byte.
constexpr CategoryRule kSecurityRules[] = {
    // Market group 0: Shenzhen, and Beijing and the NEEQ.
    {0, 0, 5, 5, 36},    // 指数
    {0, 0, 6, 6, 12},    // 深A, main board
    {0, 0, 7, 7, 18},    // 深B
    {0, 0, 8, 8, 42},    // 债券
    {0, 0, 10, 10, 40},  // 基金, ETF
    {0, 0, 12, 12, 63},  // 权证
    {0, 0, 13, 13, 13},  // 深A, SME board
    {0, 0, 14, 14, 40},  // 基金, LOF
    {0, 0, 21, 21, 64},  // 退市
    {0, 0, 80, 80, 14},  // 深A, ChiNext
    {0, 0, 81, 81, kBeijingOrNeeq},
    // Market group 1: Shanghai.
    {1, 1, 1, 1, 35},      // 指数
    {1, 1, 2, 2, 11},      // 沪A
    {1, 1, 3, 3, 17},      // 沪B
    {1, 1, 4, 4, 41},      // 债券
    {1, 1, 9, 9, 39},      // 基金, ETF
    {1, 1, 11, 11, 62},    // 权证
    {1, 1, 14, 14, 39},    // 基金, LOF
    {1, 1, 18, 18, 64},    // 退市
    {1, 1, 23, 23, 15},    // 科创
    {1, 1, 171, 171, 41},  // 债券
    {2, 2, 0, 255, 37},    // 指数, Beijing
    {3, 3, 0, 255, 22},    // 港股
    {6, 6, 0, 255, 22},    // 港股
    // Market group 7: the financial futures exchange.
    {7, 7, 151, 151, 44},    // 期货, index futures
    {7, 7, 152, 152, 45},    // 期货, bond futures
    {7, 7, 153, 153, 46},    // 期货
    {7, 7, 161, 161, 43},    // 指数
    {8, 8, 0, 255, 47},      // 期货
    {10, 12, 0, 255, 54},    // 期权
    {47, 47, 0, 255, 37},    // 指数
    {90, 90, 0, 255, 37},    // 指数
    {100, 100, 0, 255, 67},  // 指数
    {101, 104, 0, 255, 48},  // 期货
    // Market groups 105 to 107: the US markets, by board.
    {105, 107, 1, 1, 25},    // 美股
    {105, 107, 2, 2, 26},    // 美股
    {105, 107, 3, 3, 27},    // 美股
    {105, 107, 4, 4, 28},    // 美股
    {105, 107, 5, 5, 29},    // 美股
    {105, 107, 6, 6, 30},    // 美股
    {105, 107, 7, 7, 31},    // 美股
    {105, 107, 8, 8, 32},    // 美股
    {105, 107, 0, 255, 33},  // 美股, any other board
    {108, 115, 0, 255, 48},  // 期货
    // Market group 116: Hong Kong, by board.
    {116, 116, 1, 1, 57},    // 港股, main board
    {116, 116, 2, 2, 58},    // 港股, GEM
    {116, 116, 3, 3, 21},    // 港股, funds
    {116, 116, 4, 4, 23},    // 港股
    {116, 116, 5, 5, 59},    // 港股
    {116, 116, 6, 6, 60},    // 港股
    {116, 116, 0, 255, 61},  // 港股, any other board
    {118, 118, 0, 255, 49},  // 现货
    {119, 119, 0, 255, 52},  // 外汇
    {120, 120, 0, 255, 68},  // 汇率
    {121, 121, 0, 255, 53},  // 外汇
    {122, 122, 0, 255, 50},  // 现货
    {123, 123, 0, 255, 51},  // 现货
    {124, 124, 0, 255, 55},  // 指数
    {125, 125, 0, 255, 38},  // 指数
    {130, 132, 0, 255, 48},  // 期货
    {133, 133, 0, 255, 53},  // 外汇
    {134, 134, 0, 255, 48},  // 期货
    {139, 141, 0, 255, 54},  // 期权
    {142, 142, 0, 255, 48},  // 期货
    {150, 150, 0, 255, 70},  // 基金, open-end funds
    {151, 151, 0, 255, 54},  // 期权
    {153, 153, 0, 255, 24},  // 粉单
    {155, 156, 0, 255, 34},  // 英股
    {163, 163, 0, 255, 54},  // 期权
    {201, 201, 0, 255, 56},  // 指数
    {202, 202, 0, 255, 69},  // 指数
    {223, 223, 0, 255, 48},  // 期货
};

constexpr CategoryRule kCommandRules[] = {
    {100, 100, 0, 255, 5},   // 功能
    {101, 101, 1, 1, 9},     // 选股
    {101, 101, 2, 2, 8},     // 交易
    {101, 101, 3, 3, 7},     // 五彩
    {101, 101, 0, 255, 6},   // 指标
    {102, 102, 0, 255, 71},  // 板块
    {103, 103, 0, 0, 0},     // 交易
    {103, 103, 1, 1, 1},     // 交易
    {103, 103, 2, 2, 2},     // 交易
    {103, 103, 3, 3, 3},     // 交易
    {103, 103, 0, 255, 4},   // 交易
};

template <size_t N>
int CategoryByRules(const CategoryRule (&rules)[N], const MarketIndex& index, unsigned typeWord) {
  const unsigned market = (typeWord >> 8) & 0xFF;
  const unsigned low = typeWord & 0xFF;
  for (size_t r = index.firstRule[market]; r < N && rules[r].marketFirst <= market; ++r)
    if (low >= rules[r].lowFirst && low <= rules[r].lowLast) return rules[r].category;
  return kUnknownCategory;
}

constexpr MarketIndex kSecurityIndex = IndexByMarket(kSecurityRules);
constexpr MarketIndex kCommandIndex = IndexByMarket(kCommandRules);

int BeijingOrNeeq(const wchar_t* code) {
  char narrow[64];
  plat::ToAnsi(code ? code : L"", narrow, sizeof(narrow));
  return CDataComFun::IsBJAGu(narrow, 0) ? 19 : 20;
}

}  // namespace

const wchar_t* CategoryName(int category) {
  if (category < 0 || category >= ITEM_CATEGORIES) return kCategoryNames[kUnknownCategory];
  return kCategoryNames[category];
}

int CategoryOfSecurity(const wchar_t* code, const int* type) {
  const int category =
      CategoryByRules(kSecurityRules, kSecurityIndex, static_cast<unsigned>(*type) & 0xFFFF);
  return category == kBeijingOrNeeq ? BeijingOrNeeq(code) : category;
}

int CategoryOf(const KeyboardItemInfo* record, const int* type, const DWORD* kind,
               int aliasBySecurity) {
  switch (*kind) {
    case KIND_FORMER_NAME:
      return 65;
    case KIND_COMMAND:
      return CategoryByRules(kCommandRules, kCommandIndex, static_cast<unsigned>(*type) & 0xFFFF);
    case KIND_ALIAS:
      if (aliasBySecurity == 0) return 10;
      break;
    case KIND_FULL_PINYIN_ALIAS:
      // Full pinyin begins with the same letters as many initials ("ZH" is 中华's initials and
      // the start of ZHAOSHANG): filed with the other aliases, among the first categories
      // searched, these keys would crowd the initials matches off the first screen. The unknown
      // category is searched after those of nearly every security; only 67 to 71 come later, and
      // 71, the last, holds the board commands a terminal may ask for alone by category.
      if (aliasBySecurity == 0) return kUnknownCategory;
      break;
    default:
      break;
  }
  return CategoryOfSecurity(record ? record->m_szCode : nullptr, type);
}
