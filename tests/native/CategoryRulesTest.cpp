// The category rules as data give every type word the category the rules as code gave it. The
// code they replaced stays here as the reference, unchanged.
#include <gtest/gtest.h>

#include "frame/DataComFun.h"
#include "platform/Platform.h"
#include "table/MappingTable.h"

namespace reference {

const int kUnknownCategory = 66;

int CategoryOfCommand(unsigned hi, unsigned lo) {
  switch (hi) {
    case 100:
      return 5;
    case 101:
      return lo == 1 ? 9 : lo == 2 ? 8 : lo == 3 ? 7 : 6;
    case 102:
      return 71;
    case 103:
      return lo <= 3 ? static_cast<int>(lo) : 4;
    default:
      return kUnknownCategory;
  }
}

int CategoryOfMarketGroup0(const wchar_t* code, unsigned lo) {
  switch (lo) {
    case 5:
      return 36;
    case 6:
      return 12;
    case 7:
      return 18;
    case 8:
      return 42;
    case 10:
    case 14:
      return 40;
    case 12:
      return 63;
    case 13:
      return 13;
    case 21:
      return 64;
    case 80:
      return 14;
    case 81: {
      char narrow[64];
      plat::ToAnsi(code ? code : L"", narrow, sizeof(narrow));
      return CDataComFun::IsBJAGu(narrow, 0) ? 19 : 20;
    }
    default:
      return kUnknownCategory;
  }
}

int CategoryOfMarketGroup1(unsigned lo) {
  switch (lo) {
    case 1:
      return 35;
    case 2:
      return 11;
    case 3:
      return 17;
    case 4:
    case 171:
      return 41;
    case 9:
    case 14:
      return 39;
    case 11:
      return 62;
    case 18:
      return 64;
    case 23:
      return 15;
    default:
      return kUnknownCategory;
  }
}

int CategoryOfHongKong(unsigned lo) {
  switch (lo) {
    case 1:
      return 57;
    case 2:
      return 58;
    case 3:
      return 21;
    case 4:
      return 23;
    case 5:
      return 59;
    case 6:
      return 60;
    default:
      return 61;
  }
}

int CategoryOfSecurity(const wchar_t* code, const int* type) {
  unsigned word = static_cast<unsigned>(*type) & 0xFFFF;
  unsigned hi = word / 256;
  unsigned lo = word % 256;
  if (hi > 223) return kUnknownCategory;
  switch (hi) {
    case 0:
      return CategoryOfMarketGroup0(code, lo);
    case 1:
      return CategoryOfMarketGroup1(lo);
    case 2:
    case 47:
    case 90:
      return 37;
    case 3:
    case 6:
      return 22;
    case 7:
      switch (lo) {
        case 151:
          return 44;
        case 152:
          return 45;
        case 153:
          return 46;
        case 161:
          return 43;
        default:
          return kUnknownCategory;
      }
    case 8:
      return 47;
    case 10:
    case 11:
    case 12:
    case 139:
    case 140:
    case 141:
    case 151:
    case 163:
      return 54;
    case 100:
      return 67;
    case 101:
    case 102:
    case 103:
    case 104:
    case 108:
    case 109:
    case 110:
    case 111:
    case 112:
    case 113:
    case 114:
    case 115:
    case 130:
    case 131:
    case 132:
    case 134:
    case 142:
    case 223:
      return 48;
    case 105:
    case 106:
    case 107:
      return (lo >= 1 && lo <= 8) ? static_cast<int>(lo) + 24 : 33;
    case 116:
      return CategoryOfHongKong(lo);
    case 118:
      return 49;
    case 119:
      return 52;
    case 120:
      return 68;
    case 121:
    case 133:
      return 53;
    case 122:
      return 50;
    case 123:
      return 51;
    case 124:
      return 55;
    case 125:
      return 38;
    case 150:
      return 70;
    case 153:
      return 24;
    case 155:
    case 156:
      return 34;
    case 201:
      return 56;
    case 202:
      return 69;
    default:
      return kUnknownCategory;
  }
}

}  // namespace reference

namespace {

// Every market byte and low byte, for securities (with codes that are and are not Beijing A
// shares, which share one type word with the NEEQ) and for commands; bits above the type word
// are ignored.
TEST(CategoryRules, GiveEveryTypeWordTheCategoryOfTheFormerCode) {
  const wchar_t* const kCodes[] = {L"830799", L"430001", L"920001", L"400001",
                                   L"600000", L"83079",  L"",       nullptr};
  const KeyboardItemInfo record;
  int mismatches = 0;
  for (int high : {0, 0x10000, -0x10000}) {
    for (int word = 0; word <= 0xFFFF; ++word) {
      const int type = high + word;
      for (const wchar_t* code : kCodes) {
        const int expected = reference::CategoryOfSecurity(code, &type);
        const int got = CategoryOfSecurity(code, &type);
        if (got != expected && ++mismatches <= 10)
          ADD_FAILURE() << std::hex << "security type 0x" << type << ": " << std::dec << got
                        << ", was " << expected;
      }
      const unsigned commandWord = static_cast<unsigned>(type) & 0xFFFF;
      const int expected = reference::CategoryOfCommand(commandWord / 256, commandWord % 256);
      const int got = CategoryOf(&record, &type, &KIND_COMMAND, 0);
      if (got != expected && ++mismatches <= 10)
        ADD_FAILURE() << std::hex << "command type 0x" << type << ": " << std::dec << got
                      << ", was " << expected;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
