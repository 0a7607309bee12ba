/* Pinyin keys of security names, for a terminal that registers securities of its own with the
 * smart keyboard (a market-data feed's thousands of names): what a trader types to find a name.
 *
 * From a name, computed at run time with the rules the default items' hot keys were made with:
 *
 * - Initials (the item's hot key): the pinyin initial of each Chinese character in its name
 *   reading, ASCII letters and digits upper-cased, full-width letters and digits folded to ASCII;
 *   everything else, Chinese characters without a reading included, is dropped. "浦发银行" gives
 *   "PFYH", "ST国华" "STGH", "*ＳＴ中１" "STZ1". Cut to PINYIN_KEY_LENGTH characters, as the item
 *   record's hot key holds them.
 * - Name readings: a few characters and words read otherwise in names than the dictionary's first
 *   reading says: 行 in 银行 is H, 长 in 长江 is C, 厦门 is X, 重庆 is C.
 * - Aliases (for alias items, kind 258): the initials of other common readings of the name's
 *   characters ("重庆啤酒": "CQPJ", alias "ZQPJ"), at most PINYIN_MAX_ALIASES, fewest changed
 *   characters first, then those changing characters further left; each differs from the
 *   initials and from the others.
 * - Full pinyin: the upper-case letters of each character's syllable, without tones or separators
 *   ("浦发银行": "PUFAYINHANG"), ü spelt V as pinyin keyboards type it ("绿地": "LVDI"); ASCII
 *   letters and digits kept, full-width ones folded, everything else dropped; cut to
 *   PINYIN_KEY_LENGTH characters. Given for the name reading, and for the second reading: the one
 *   behind the first alias ("长江电力": "CHANGJIANGDIANLI", then "ZHANGJIANGDIANLI").
 *
 * Names are wide strings: UTF-16 where wchar_t has 16 bits (surrogate pairs read as one
 * character; an unpaired surrogate is dropped), UTF-32 where it has 32. Every key is ASCII
 * upper-case letters and digits, zero-terminated.
 *
 * The functions read constant tables only: they allocate nothing, never throw, and may be called
 * from any number of threads at once. They are exported from TerminalServices.dll under these
 * plain names (C linkage); define HKM_STATIC when linking the services statically on Windows. */
#ifndef TERMINAL_SERVICES_PINYIN_H
#define TERMINAL_SERVICES_PINYIN_H

#include <stddef.h>

#if defined(_WIN32) && !defined(HKM_STATIC)
#ifdef TS_BUILDING_SERVICES
#define TS_PINYIN_API __declspec(dllexport)
#else
#define TS_PINYIN_API __declspec(dllimport)
#endif
#else
#define TS_PINYIN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
  PINYIN_KEY_LENGTH = 32, /* characters of a key, without its terminator */
  PINYIN_MAX_ALIASES = 3
};

typedef struct PinyinKeys {
  wchar_t initials[PINYIN_KEY_LENGTH + 1];
  int aliasCount; /* 0 to PINYIN_MAX_ALIASES */
  wchar_t aliases[PINYIN_MAX_ALIASES][PINYIN_KEY_LENGTH + 1];
  wchar_t fullPinyin[PINYIN_KEY_LENGTH + 1];
  /* Full pinyin of the reading behind aliases[0]; empty when there is no alias, or when it would
   * equal fullPinyin once cut (the changed character lies beyond the cut). */
  wchar_t secondFullPinyin[PINYIN_KEY_LENGTH + 1];
} PinyinKeys;

/* Fills *keys from name and returns 1. Returns 0 when name or keys is null, with *keys (when
 * given) emptied. A name with nothing to key (punctuation only, say) gives empty keys and 1. */
TS_PINYIN_API int ComputePinyinKeys(const wchar_t* name, PinyinKeys* keys);

/* Writes the initials of name into buffer, cut to capacity - 1 characters and terminated, and
 * returns how many characters it wrote. Nothing is written when buffer is null or capacity 0; a
 * null name gives an empty text. The quick call for a hot key alone. */
TS_PINYIN_API size_t ComputePinyinInitials(const wchar_t* name, wchar_t* buffer, size_t capacity);

#ifdef __cplusplus
}
#endif

#endif /* TERMINAL_SERVICES_PINYIN_H */
