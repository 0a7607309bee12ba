// Pinyin keys at run time: the rules at their edges, through the two exported calls. Runs natively
// (32-bit wchar_t) and in the Windows tests against TerminalServices.dll (UTF-16).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/Pinyin.h"

namespace {

struct Keys {
  std::wstring initials;
  std::vector<std::wstring> aliases;
  std::wstring fullPinyin;
  std::wstring secondFullPinyin;
};

Keys KeysOf(const std::wstring& name) {
  PinyinKeys keys;
  EXPECT_EQ(ComputePinyinKeys(name.c_str(), &keys), 1);
  Keys out{keys.initials, {}, keys.fullPinyin, keys.secondFullPinyin};
  for (int i = 0; i < keys.aliasCount; ++i) out.aliases.push_back(keys.aliases[i]);
  wchar_t buffer[PINYIN_KEY_LENGTH + 1];
  EXPECT_EQ(ComputePinyinInitials(name.c_str(), buffer, PINYIN_KEY_LENGTH + 1),
            out.initials.size());
  EXPECT_EQ(std::wstring(buffer), out.initials) << "the quick call agrees";
  return out;
}

using Aliases = std::vector<std::wstring>;

TEST(PinyinTest, LettersDigitsAndWhatIsDropped) {
  struct Case {
    const wchar_t* name;
    const wchar_t* initials;
    const wchar_t* fullPinyin;
  } cases[] = {
      {L"ST国华", L"STGH", L"STGUOHUA"},
      {L"*ST", L"ST", L"ST"},
      {L"\xFF21\xFF42\xFF11\xFF19中", L"AB19Z", L"AB19ZHONG"},  // full-width Ab19
      {L"\xFF3B\xFF1A\xFF20", L"", L""},  // full-width punctuation between the letters and digits
      {L"TCL 科技-w", L"TCLKJW", L"TCLKEJIW"},
      {L"中证500ETF", L"ZZ500ETF", L"ZHONGZHENG500ETF"},
      {L"R-001", L"R001", L"R001"},
      {L"*-", L"", L""},
      {L"Café Ωmega", L"CAFMEGA", L"CAFMEGA"},    // letters outside ASCII are not folded
      {L"中\x5159国", L"ZG", L"ZHONGGUO"},        // 兙 has no reading
      {L"\U00020000\U00020001", L"HQ", L"HEQI"},  // beyond the BMP: surrogate pairs on Windows
      {L"\x3400", L"Q", L"QIU"},
      {L"绿地控股", L"LDKG", L"LVDIKONGGU"},  // ü typed as V; 地 read dì in names
      {L"美的集团", L"MDJT", L"MEIDIJITUAN"},
  };
  for (const Case& c : cases) {
    Keys keys = KeysOf(c.name);
    EXPECT_EQ(keys.initials, c.initials) << keys.initials;
    EXPECT_EQ(keys.fullPinyin, c.fullPinyin) << keys.fullPinyin;
    EXPECT_TRUE(keys.aliases.empty()) << keys.initials;
    EXPECT_EQ(keys.secondFullPinyin, L"");
  }
}

TEST(PinyinTest, NameReadingsAliasesAndTheSecondReading) {
  struct Case {
    const wchar_t* name;
    const wchar_t* initials;
    Aliases aliases;
    const wchar_t* fullPinyin;
    const wchar_t* secondFullPinyin;
  } cases[] = {
      {L"平安银行", L"PAYH", {}, L"PINGANYINHANG", L""},   // a listed word: no xíng alias
      {L"银 行", L"YH", {L"YX"}, L"YINHANG", L"YINXING"},  // not the word: 行 alone
      {L"重庆啤酒", L"CQPJ", {L"ZQPJ"}, L"CHONGQINGPIJIU", L"ZHONGQINGPIJIU"},
      {L"重", L"Z", {L"C"}, L"ZHONG", L"CHONG"},  // outside the word
      {L"三一重工", L"SYZG", {L"SYCG"}, L"SANYIZHONGGONG", L"SANYICHONGGONG"},
      {L"长江电力", L"CJDL", {L"ZJDL"}, L"CHANGJIANGDIANLI", L"ZHANGJIANGDIANLI"},
      {L"华夏成长混合", L"HXCZHH", {}, L"HUAXIACHENGZHANGHUNHE", L""},
      {L"厦门钨业", L"XMWY", {}, L"XIAMENWUYE", L""},
      {L"滴滴出行", L"DDCX", {}, L"DIDICHUXING", L""},
      // Fewest changed characters first, leftmost first, at most three.
      {L"长重乐行长重乐行",
       L"CZLHCZLH",
       {L"ZZLHCZLH", L"CCLHCZLH", L"CZYHCZLH"},
       L"CHANGZHONGLEHANGCHANGZHONGLEHANG",
       L"ZHANGZHONGLEHANGCHANGZHONGLEHANG"},
      // Two polyphonic characters: both single changes, then the double one.
      {L"重乐", L"ZL", {L"CL", L"ZY", L"CY"}, L"ZHONGLE", L"CHONGLE"},
  };
  for (const Case& c : cases) {
    Keys keys = KeysOf(c.name);
    EXPECT_EQ(keys.initials, c.initials) << keys.initials;
    EXPECT_EQ(keys.aliases, c.aliases) << keys.initials;
    EXPECT_EQ(keys.fullPinyin, c.fullPinyin) << keys.fullPinyin;
    EXPECT_EQ(keys.secondFullPinyin, c.secondFullPinyin) << keys.secondFullPinyin;
  }
}

TEST(PinyinTest, KeysAreCutToTheRecord) {
  Keys letters = KeysOf(std::wstring(40, L'a'));
  EXPECT_EQ(letters.initials, std::wstring(32, L'A'));
  EXPECT_EQ(letters.fullPinyin, std::wstring(32, L'A'));

  // The 33rd character would give an alias; beyond the cut it gives none.
  Keys beyond = KeysOf(std::wstring(32, L'a') + L"重");
  EXPECT_EQ(beyond.initials, std::wstring(32, L'A'));
  EXPECT_TRUE(beyond.aliases.empty());
  Keys last = KeysOf(std::wstring(31, L'a') + L"重");
  EXPECT_EQ(last.aliases, Aliases{std::wstring(31, L'A') + L"C"});

  // Full pinyin stops inside a syllable; an alias whose character lies past that cut has no
  // second full pinyin, which would only repeat the first.
  Keys longName = KeysOf(L"中华人民共和国中华人民共和国重");
  EXPECT_EQ(longName.initials, L"ZHRMGHGZHRMGHGZ");
  EXPECT_EQ(longName.aliases, Aliases{L"ZHRMGHGZHRMGHGC"});
  EXPECT_EQ(longName.fullPinyin, L"ZHONGHUARENMINGONGHEGUOZHONGHUAR");
  EXPECT_EQ(longName.secondFullPinyin, L"");

  // Words are read to the end of the key.
  Keys word = KeysOf(std::wstring(31, L'a') + L"银行");
  EXPECT_EQ(word.initials, std::wstring(31, L'A') + L"Y");
  EXPECT_TRUE(word.aliases.empty());
}

TEST(PinyinTest, BadArgumentsAndSmallBuffers) {
  PinyinKeys keys;
  keys.initials[0] = L'X';
  keys.aliasCount = 2;
  EXPECT_EQ(ComputePinyinKeys(nullptr, &keys), 0);
  EXPECT_EQ(keys.initials[0], 0);
  EXPECT_EQ(keys.aliasCount, 0);
  EXPECT_EQ(ComputePinyinKeys(L"中", nullptr), 0);

  wchar_t buffer[4] = {L'?', L'?', L'?', L'?'};
  EXPECT_EQ(ComputePinyinInitials(L"浦发银行", buffer, 3), 2u);
  EXPECT_EQ(std::wstring(buffer), L"PF");
  EXPECT_EQ(buffer[3], L'?');
  EXPECT_EQ(ComputePinyinInitials(L"浦发银行", buffer, 0), 0u);
  EXPECT_EQ(buffer[0], L'P') << "capacity 0 writes nothing";
  EXPECT_EQ(ComputePinyinInitials(L"浦发银行", nullptr, 4), 0u);
  EXPECT_EQ(ComputePinyinInitials(nullptr, buffer, 4), 0u);
  EXPECT_EQ(buffer[0], 0);
}

}  // namespace
