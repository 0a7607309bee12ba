// The characters a result row lights for what was typed: the code's and the name's own matches,
// and the name characters behind a matched hot key, whether it holds initials or full pinyin.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/Utf8.h"
#include "services/Pinyin.h"
#include "services/PinyinReadings.h"
#include "support/TableFixture.h"
#include "table/MatchedCharacters.h"
#include "table/PinyinSyllables.h"
#include "table/TypedText.h"
#include "tools/common/ItemsFile.h"

namespace {

// The field with its lit runs in brackets: "[浦发]银行".
std::wstring Shown(const wchar_t* field, uint64_t lit) {
  std::wstring shown;
  bool open = false;
  for (size_t i = 0; field[i]; ++i) {
    bool on = (lit >> i) & 1;
    if (on != open) shown += on ? L'[' : L']';
    open = on;
    shown += field[i];
  }
  if (open) shown += L']';
  return shown;
}

struct Row {
  const wchar_t* typed;
  KEYBOARD_SELECT_TYPE how;
  KeyboardItemInfo item;
  const wchar_t* code;  // as lit
  const wchar_t* name;
};

KeyboardItemInfo AliasItem(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name) {
  return Alias(code, hotKey, name, type_word::SH_A, 1);
}

KeyboardItemInfo Found(KeyboardItemInfo item, KEYBOARD_SELECT_TYPE how) {
  item.m_eSelectType = how;
  return item;
}

void ExpectRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    KeyboardItemInfo item = Found(row.item, row.how);
    MatchedCharacters lit = FindMatchedCharacters(row.typed, item);
    std::string trace = plat::WideToUtf8(row.typed) + " in " + plat::WideToUtf8(item.m_szCode) +
                        " " + plat::WideToUtf8(item.m_szHotKey) + " " +
                        plat::WideToUtf8(item.m_szName) + ", select type " +
                        std::to_string(row.how);
    EXPECT_EQ(plat::WideToUtf8(Shown(item.m_szCode, lit.code)), plat::WideToUtf8(row.code))
        << trace;
    EXPECT_EQ(plat::WideToUtf8(Shown(item.m_szName, lit.name)), plat::WideToUtf8(row.name))
        << trace;
  }
}

const KEYBOARD_SELECT_TYPE kWhole = KEYBOARD_SELECT_WHOLE;
const KEYBOARD_SELECT_TYPE kBegin = KEYBOARD_SELECT_BEGIN;
const KEYBOARD_SELECT_TYPE kEnd = KEYBOARD_SELECT_END;

TEST(MatchedCharacters, CodesAndNamesLightWhatPairsWithTheTypedText) {
  KeyboardItemInfo zsyh = Security(L"600036", L"ZSYH", L"招商银行");
  ExpectRows({
      {L"600", kBegin, zsyh, L"[600]036", L"招商银行"},
      {L"036", kEnd, zsyh, L"600[036]", L"招商银行"},
      {L"600036", kWhole, zsyh, L"[600036]", L"招商银行"},
      // An input method's result searches the names.
      {L"招商", kBegin, zsyh, L"600036", L"[招商]银行"},
      {L"银行", kEnd, zsyh, L"600036", L"招商[银行]"},
      // Letter case, spaces and full-width capitals of the stored keys are folded.
      {L"AA", kBegin, Security(L"aapl", L"PGGS", L"苹果公司"), L"[aa]pl", L"苹果公司"},
      {L"1234", kWhole, Security(L"12 34", L"", L"x"), L"[12] [34]", L"x"},
      {L"TCL", kBegin, Security(L"000100", L"TCLKJ", L"ＴＣＬ科技"), L"000100", L"[ＴＣＬ]科技"},
      {L"平安银", kBegin, Security(L"000001", L"PAYH", L"平安 银行"), L"000001", L"[平安] [银]行"},
      // Another select type finds nothing there.
      {L"600", kEnd, zsyh, L"600036", L"招商银行"},
      {L"600", KEYBOARD_SELECT_NONE, zsyh, L"600036", L"招商银行"},
      {L"", kBegin, zsyh, L"600036", L"招商银行"},
  });
}

TEST(MatchedCharacters, InitialsLightTheCharactersTheirLettersStandFor) {
  KeyboardItemInfo pfyh = Security(L"600000", L"PFYH", L"浦发银行");
  ExpectRows({
      {L"PF", kBegin, pfyh, L"600000", L"[浦发]银行"},
      {L"pf", kBegin, pfyh, L"600000", L"[浦发]银行"},
      {L"YH", kEnd, pfyh, L"600000", L"浦发[银行]"},
      {L"PFYH", kWhole, pfyh, L"600000", L"[浦发银行]"},
      // A polyphonic alias lines up as the name's initials do.
      {L"ZQ", kBegin, AliasItem(L"600132", L"ZQPJ", L"重庆啤酒"), L"600132", L"[重庆]啤酒"},
      // Letters and digits of the name are their own letters; full-width ones fold; other
      // characters and spaces give none.
      {L"STG", kBegin, Security(L"600077", L"STGH", L"ST国华"), L"600077", L"[ST国]华"},
      {L"STZ1", kWhole, Security(L"000002", L"STZ1", L"*ＳＴ中１"), L"000002", L"*[ＳＴ中１]"},
      {L"SZ5", kBegin, Security(L"510050", L"SZ50ETF", L"上证50ETF"), L"510050", L"[上证5]0ETF"},
      {L"PAY", kBegin, Security(L"000001", L"PAYH", L"平安 银行"), L"000001", L"[平安] [银]行"},
      // A character beyond the basic plane: two units where wchar_t has 16 bits, lit together.
      {L"X", kBegin, Security(L"000003", L"XYH", L"\U00020000银行"), L"000003",
       L"[\U00020000]银行"},
  });
}

TEST(MatchedCharacters, FullPinyinLightsTheCharactersWhoseSyllablesWereTyped) {
  KeyboardItemInfo pufa = AliasItem(L"600000", L"PUFAYINHANG", L"浦发银行");
  ExpectRows({
      {L"PUFA", kBegin, pufa, L"600000", L"[浦发]银行"},
      {L"PUFAY", kBegin, pufa, L"600000", L"[浦发银]行"},  // a syllable typed in part
      {L"PUFAYINHANG", kWhole, pufa, L"600000", L"[浦发银行]"},
      {L"HANG", kEnd, pufa, L"600000", L"浦发银[行]"},
      {L"ANG", kEnd, pufa, L"600000", L"浦发银[行]"},
      {L"ZHAOSHANG", kBegin, AliasItem(L"600036", L"ZHAOSHANGYINHANG", L"招商银行"), L"600036",
       L"[招商]银行"},
      // The second reading's key of a polyphonic name.
      {L"ZHANGJ", kBegin, AliasItem(L"600900", L"ZHANGJIANGDIANLI", L"长江电力"), L"600900",
       L"[长江]电力"},
      {L"STGU", kBegin, AliasItem(L"600077", L"STGUOHUA", L"ST国华"), L"600077", L"[ST国]华"},
      // PING-AN or PIN-GAN: PING lights what both light. XI-AN-AN or XI-A-NAN: likewise.
      {L"PING", kBegin, AliasItem(L"000001", L"PINGAN", L"平安"), L"000001", L"[平]安"},
      {L"PINGA", kBegin, AliasItem(L"000001", L"PINGAN", L"平安"), L"000001", L"[平安]"},
      {L"XIA", kBegin, AliasItem(L"000004", L"XIANAN", L"西安南"), L"000004", L"[西安]南"},
      {L"XIAN", kBegin, AliasItem(L"000004", L"XIANAN", L"西安南"), L"000004", L"[西安]南"},
      // Repeated syllables split thousands of ways (AN-AN or A-NAN, CHANG-AN or CHAN-GAN).
      {L"ANANANANANANANANCHANGANANANAN", kWhole,
       AliasItem(L"000006", L"ANANANANANANANANCHANGANANANAN", L"安安安安安安安安长安安安安"),
       L"000006", L"[安安安安安安安安长安安安安]"},
  });

  // A key cut at the field's 32 letters ends inside a syllable, and leaves characters out.
  const wchar_t* longName = L"中华人民共和国财政部长";
  PinyinKeys keys;
  ASSERT_EQ(ComputePinyinKeys(longName, &keys), 1);
  ASSERT_EQ(plat::WideToUtf8(keys.fullPinyin), "ZHONGHUARENMINGONGHEGUOCAIZHENGB");
  KeyboardItemInfo cut = AliasItem(L"000005", keys.fullPinyin, longName);
  ExpectRows({
      {keys.fullPinyin, kWhole, cut, L"000005", L"[中华人民共和国财政部]长"},
      {L"ZHONGHUAREN", kBegin, cut, L"000005", L"[中华人]民共和国财政部长"},
  });
}

TEST(MatchedCharacters, AHotKeyThatDoesNotLineUpWithTheNameLightsNothing) {
  ExpectRows({
      // 发 without a reading: three initials for four characters, and no syllables.
      {L"PY", kBegin, Security(L"600000", L"PYH", L"浦发银行"), L"600000", L"浦发银行"},
      // Its full pinyin without 发 would split as PU-YI-N-HANG if N counted as a syllable.
      {L"PUY", kBegin, AliasItem(L"600000", L"PUYINHANG", L"浦发银行"), L"600000", L"浦发银行"},
      // A digit for a Chinese character, a sign no name gives, a letter that is not the name's.
      {L"P1", kBegin, Security(L"600000", L"P1YH", L"浦发银行"), L"600000", L"浦发银行"},
      {L"ST", kBegin, Security(L"600077", L"ST-GH", L"ST国华"), L"600077", L"[ST]国华"},
      {L"XT", kBegin, Security(L"600077", L"XTGH", L"ST国华"), L"600077", L"ST国华"},
      // A command's abbreviation that is not the initials of its name.
      {L"QB", kBegin, Command(L"06", L"QBZX", L"自选股", type_word::FUNCTION_CMD), L"06",
       L"自选股"},
  });
}

TEST(MatchedCharacters, FullWidthTypingIsSearchedAndLitAsItsAsciiForm) {
  std::wstring typed;
  for (const wchar_t* c = L"６００ＰＦｐ中-"; *c; ++c) typed += FoldTypedCharacter(*c);
  EXPECT_EQ(plat::WideToUtf8(typed), "600PFｐ中-");  // small letters are the edit's to fold
  ExpectRows({
      {typed.substr(0, 3).c_str(), kBegin, Security(L"600000", L"PFYH", L"浦发银行"), L"[600]000",
       L"浦发银行"},
      {typed.substr(3, 2).c_str(), kBegin, Security(L"600000", L"PFYH", L"浦发银行"), L"600000",
       L"[浦发]银行"},
  });
}

// Every name of the default items lines up with its hot key and with its full pinyin: the whole
// key lights every character that gives it a letter, the first letter only the first such
// character, and each further letter never fewer.
TEST(MatchedCharacters, EveryDefaultNameLinesUpWithItsKeys) {
  std::vector<KeyboardItemInfo> items;
  ItemsFileError error;
  ASSERT_TRUE(LoadItemsFile(HKM_DEFAULT_ITEMS_FILE, &items, &error)) << error.message;
  size_t keys = 0;
  for (const KeyboardItemInfo& item : items) {
    if (item.m_dwKind == KIND_COMMAND || !item.m_szHotKey[0]) continue;
    PinyinKeys pinyin;
    ASSERT_EQ(ComputePinyinKeys(item.m_szName, &pinyin), 1);
    for (const wchar_t* key : {static_cast<const wchar_t*>(item.m_szHotKey),
                               static_cast<const wchar_t*>(pinyin.fullPinyin),
                               static_cast<const wchar_t*>(pinyin.secondFullPinyin)}) {
      if (!key[0]) continue;
      KeyboardItemInfo row = AliasItem(item.m_szCode, key, item.m_szName);
      // What the initials rule gives letters to, in the name: all of it once the key is typed.
      uint64_t all = FindMatchedCharacters(key, Found(row, kWhole)).name;
      std::string trace = plat::WideToUtf8(item.m_szName) + " " + plat::WideToUtf8(key);
      ASSERT_NE(all, 0u) << trace;
      uint64_t first = all & (~all + 1);  // names here keep to 16-bit characters
      uint64_t before = 0;
      std::wstring typed;
      for (const wchar_t* c = key; *c; ++c) {
        typed += *c;
        uint64_t lit = FindMatchedCharacters(typed.c_str(), Found(row, kBegin)).name;
        if (typed.size() == 1) {
          EXPECT_EQ(lit, first) << trace;
        }
        EXPECT_EQ(lit & before, before) << trace << " at " << typed.size();
        EXPECT_EQ(lit & ~all, 0u) << trace << " at " << typed.size();
        before = lit;
      }
      EXPECT_EQ(before, all) << trace;
      ++keys;
    }
  }
  EXPECT_GT(keys, 2000u);
}

// The syllables that split full-pinyin keys are those the terminal spells them with, but for the
// interjections left out on purpose.
TEST(MatchedCharacters, SyllablesAreTheTerminalsLessTheInterjections) {
  std::set<std::string> terminal;
  for (unsigned id = 0; id < pinyin_readings::kSyllableCount; ++id)
    terminal.insert(
        std::string(pinyin_readings::kSyllableLetters + pinyin_readings::kSyllableStart[id],
                    pinyin_readings::kSyllableStart[id + 1] - pinyin_readings::kSyllableStart[id]));
  for (const char* interjection : {"M", "N", "HM", "R"})
    EXPECT_EQ(terminal.erase(interjection), 1u);
  std::set<std::string> split;
  for (size_t i = 0; i < pinyin_syllables::SyllableCount(); ++i) {
    const char* syllable = pinyin_syllables::SyllableAt(i);
    split.insert(syllable);
    EXPECT_TRUE(pinyin_syllables::IsSyllable(syllable, strlen(syllable))) << syllable;
  }
  EXPECT_EQ(split, terminal);
  EXPECT_TRUE(pinyin_syllables::IsSyllable("ZHUANG", 4));  // ZHUA: the length decides
  EXPECT_FALSE(pinyin_syllables::IsSyllable("ZHUANG", 2));
  EXPECT_FALSE(pinyin_syllables::IsSyllable("ZHUANGG", 7));
  EXPECT_FALSE(pinyin_syllables::IsSyllable("N", 1));
  EXPECT_TRUE(pinyin_syllables::BeginsSyllable("ZHUA", 4));
  EXPECT_TRUE(pinyin_syllables::BeginsSyllable("CHUAN", 5));
  EXPECT_FALSE(pinyin_syllables::BeginsSyllable("ZHV", 3));
  EXPECT_FALSE(pinyin_syllables::BeginsSyllable("ZHUANGG", 7));
}

}  // namespace
