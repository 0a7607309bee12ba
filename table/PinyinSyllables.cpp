// The syllables of Mandarin as the full-pinyin hot keys spell them: upper case, without tones,
// ü as V. Sorted, so that a binary search finds a syllable or the first one a text begins.
//
// Left out: the consonant-only syllables (M, N, HM, R) of interjections that no security name
// holds. As single letters they would let a key split wrongly where its name has a character
// without a reading (PUYINHANG for 浦发银行 as PU-YI-N-HANG).
#include "table/PinyinSyllables.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

const char* const kSyllables[] = {
    "A",     "AI",     "AN",    "ANG",   "AO",    "BA",    "BAI",    "BAN",    "BANG",  "BAO",
    "BEI",   "BEN",    "BENG",  "BI",    "BIAN",  "BIANG", "BIAO",   "BIE",    "BIN",   "BING",
    "BO",    "BU",     "CA",    "CAI",   "CAN",   "CANG",  "CAO",    "CE",     "CEI",   "CEN",
    "CENG",  "CHA",    "CHAI",  "CHAN",  "CHANG", "CHAO",  "CHE",    "CHEN",   "CHENG", "CHI",
    "CHONG", "CHOU",   "CHU",   "CHUA",  "CHUAI", "CHUAN", "CHUANG", "CHUI",   "CHUN",  "CHUO",
    "CI",    "CONG",   "COU",   "CU",    "CUAN",  "CUI",   "CUN",    "CUO",    "DA",    "DAI",
    "DAN",   "DANG",   "DAO",   "DE",    "DEN",   "DENG",  "DI",     "DIAN",   "DIAO",  "DIE",
    "DIN",   "DING",   "DIU",   "DONG",  "DOU",   "DU",    "DUAN",   "DUI",    "DUN",   "DUO",
    "E",     "EI",     "EN",    "ENG",   "ER",    "FA",    "FAN",    "FANG",   "FEI",   "FEN",
    "FENG",  "FIAO",   "FO",    "FOU",   "FU",    "GA",    "GAI",    "GAN",    "GANG",  "GAO",
    "GE",    "GEI",    "GEN",   "GENG",  "GONG",  "GOU",   "GU",     "GUA",    "GUAI",  "GUAN",
    "GUANG", "GUI",    "GUN",   "GUO",   "HA",    "HAI",   "HAN",    "HANG",   "HAO",   "HE",
    "HEI",   "HEN",    "HENG",  "HONG",  "HOU",   "HU",    "HUA",    "HUAI",   "HUAN",  "HUANG",
    "HUI",   "HUN",    "HUO",   "JI",    "JIA",   "JIAN",  "JIANG",  "JIAO",   "JIE",   "JIN",
    "JING",  "JIONG",  "JIU",   "JU",    "JUAN",  "JUE",   "JUN",    "KA",     "KAI",   "KAN",
    "KANG",  "KAO",    "KE",    "KEI",   "KEN",   "KENG",  "KONG",   "KOU",    "KU",    "KUA",
    "KUAI",  "KUAN",   "KUANG", "KUI",   "KUN",   "KUO",   "LA",     "LAI",    "LAN",   "LANG",
    "LAO",   "LE",     "LEI",   "LENG",  "LI",    "LIA",   "LIAN",   "LIANG",  "LIAO",  "LIE",
    "LIN",   "LING",   "LIU",   "LO",    "LONG",  "LOU",   "LU",     "LUAN",   "LUN",   "LUO",
    "LV",    "LVE",    "MA",    "MAI",   "MAN",   "MANG",  "MAO",    "ME",     "MEI",   "MEN",
    "MENG",  "MI",     "MIAN",  "MIAO",  "MIE",   "MIN",   "MING",   "MIU",    "MO",    "MOU",
    "MU",    "NA",     "NAI",   "NAN",   "NANG",  "NAO",   "NE",     "NEI",    "NEN",   "NENG",
    "NI",    "NIAN",   "NIANG", "NIAO",  "NIE",   "NIN",   "NING",   "NIU",    "NONG",  "NOU",
    "NU",    "NUAN",   "NUN",   "NUO",   "NV",    "NVE",   "O",      "OU",     "PA",    "PAI",
    "PAN",   "PANG",   "PAO",   "PEI",   "PEN",   "PENG",  "PI",     "PIAN",   "PIAO",  "PIE",
    "PIN",   "PING",   "PO",    "POU",   "PU",    "QI",    "QIA",    "QIAN",   "QIANG", "QIAO",
    "QIE",   "QIN",    "QING",  "QIONG", "QIU",   "QU",    "QUAN",   "QUE",    "QUN",   "RAN",
    "RANG",  "RAO",    "RE",    "REN",   "RENG",  "RI",    "RONG",   "ROU",    "RU",    "RUA",
    "RUAN",  "RUI",    "RUN",   "RUO",   "SA",    "SAI",   "SAN",    "SANG",   "SAO",   "SE",
    "SEN",   "SENG",   "SHA",   "SHAI",  "SHAN",  "SHANG", "SHAO",   "SHE",    "SHEI",  "SHEN",
    "SHENG", "SHI",    "SHOU",  "SHU",   "SHUA",  "SHUAI", "SHUAN",  "SHUANG", "SHUI",  "SHUN",
    "SHUO",  "SI",     "SONG",  "SOU",   "SU",    "SUAN",  "SUI",    "SUN",    "SUO",   "TA",
    "TAI",   "TAN",    "TANG",  "TAO",   "TE",    "TENG",  "TI",     "TIAN",   "TIAO",  "TIE",
    "TING",  "TONG",   "TOU",   "TU",    "TUAN",  "TUI",   "TUN",    "TUO",    "WA",    "WAI",
    "WAN",   "WANG",   "WEI",   "WEN",   "WENG",  "WO",    "WONG",   "WU",     "XI",    "XIA",
    "XIAN",  "XIANG",  "XIAO",  "XIE",   "XIN",   "XING",  "XIONG",  "XIU",    "XU",    "XUAN",
    "XUE",   "XUN",    "YA",    "YAN",   "YANG",  "YAO",   "YE",     "YI",     "YIN",   "YING",
    "YO",    "YONG",   "YOU",   "YU",    "YUAN",  "YUE",   "YUN",    "ZA",     "ZAI",   "ZAN",
    "ZANG",  "ZAO",    "ZE",    "ZEI",   "ZEN",   "ZENG",  "ZHA",    "ZHAI",   "ZHAN",  "ZHANG",
    "ZHAO",  "ZHE",    "ZHEN",  "ZHENG", "ZHI",   "ZHONG", "ZHOU",   "ZHU",    "ZHUA",  "ZHUAI",
    "ZHUAN", "ZHUANG", "ZHUI",  "ZHUN",  "ZHUO",  "ZI",    "ZONG",   "ZOU",    "ZU",    "ZUAN",
    "ZUI",   "ZUN",    "ZUO",
};

const char* const* const kEnd = std::end(kSyllables);

// Orders a syllable before the letters [text, text + length) it sorts before.
struct BeforeLetters {
  size_t length;
  bool operator()(const char* syllable, const char* text) const {
    return strncmp(syllable, text, length) < 0;
  }
};

}  // namespace

namespace pinyin_syllables {

bool IsSyllable(const char* letters, size_t length) {
  if (length == 0 || length > kMaxSyllableLength) return false;
  const char* const* found = std::lower_bound(kSyllables, kEnd, letters, BeforeLetters{length});
  return found != kEnd && strncmp(*found, letters, length) == 0 && (*found)[length] == 0;
}

bool BeginsSyllable(const char* letters, size_t length) {
  if (length == 0 || length > kMaxSyllableLength) return false;
  const char* const* found = std::lower_bound(kSyllables, kEnd, letters, BeforeLetters{length});
  return found != kEnd && strncmp(*found, letters, length) == 0;
}

size_t SyllableCount() { return std::size(kSyllables); }

const char* SyllableAt(size_t index) {
  return index < SyllableCount() ? kSyllables[index] : nullptr;
}

}  // namespace pinyin_syllables
