// The key prefixes beside the index lists decide comparisons only where the keys themselves would
// decide the same way: searches with and without them return the same records in the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <random>
#include <string>

#include "services/SecurityMaster.h"
#include "support/TableFixture.h"

namespace {

// Spaces, case, full-width forms, characters whose upper case is ASCII, hyphens, ideographs and,
// where wchar_t holds them, characters above U+FFFF: everything the prefixes must leave undecided
// or decide right.
std::wstring Alphabet() {
  std::wstring chars = L"0126ABZabz -'\xFF21\xFF41\xFF10\x0131\x00DF\x03A3\x03C3\x6D66\x53D1\x4E2D";
  if (sizeof(wchar_t) == 4) chars += static_cast<wchar_t>(0x1F600);
  return chars;
}

std::wstring RandomText(std::mt19937& random, const std::wstring& alphabet, int maxLength,
                        int minLength = 0) {
  std::wstring text;
  for (int n = minLength + static_cast<int>(random() % (maxLength - minLength + 1)); n > 0; --n)
    text += alphabet[random() % alphabet.size()];
  return text;
}

int Sign(int value) { return (value > 0) - (value < 0); }

std::string Codes(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += std::to_string(static_cast<unsigned long>(c)) + " ";
  return out;
}

TEST(KeyPrefix, DecisionsAgreeWithTheKeyComparison) {
  std::mt19937 random(7);
  const std::wstring alphabet = Alphabet();
  int decided[4] = {}, sorted = 0;
  const int kPairs = 100000;
  for (int n = 0; n < kPairs; ++n) {
    // Short texts over a small alphabet share prefixes often, as keys of one list do.
    const std::wstring stored = RandomText(random, n % 2 ? L"AB1 a" : alphabet, 6);
    const std::wstring text = RandomText(random, n % 3 ? L"AB1 a" : alphabet, 5);
    for (int m = 0; m < 4; ++m) {
      const KeyCompareMode mode = {static_cast<unsigned char>(m / 2),
                                   static_cast<unsigned char>(m % 2)};
      keyprefix::Probe probe;
      probe.Prepare(text.c_str(), mode.m_bBackward);
      const int d =
          probe.DecideAgainst(keyprefix::Of(stored.c_str(), mode.m_bBackward), mode.m_bPrefix);
      if (d == keyprefix::kUndecided) continue;
      ++decided[m];
      ASSERT_EQ(d, Sign(CompareKey(&mode, stored.c_str(), text.c_str())))
          << "mode " << m << " stored '" << Codes(stored) << "' text '" << Codes(text) << "'";
    }
    for (int backward = 0; backward < 2; ++backward) {
      const KeyCompareMode mode = {static_cast<unsigned char>(backward), 0};
      const int d = keyprefix::Decide(keyprefix::Of(stored.c_str(), backward),
                                      keyprefix::Of(text.c_str(), backward), backward);
      if (!d) continue;
      ++sorted;
      ASSERT_EQ(d, Sign(CompareKey(&mode, stored.c_str(), text.c_str())));
    }
  }
  // A decider that gave up everywhere would pass above. A space, an empty key, a small letter at
  // a backward key's end and an end of text next to anything but a letter, digit or ideograph go
  // to the keys; over these alphabets that leaves a little over a third decided in every mode.
  for (int m = 0; m < 4; ++m) EXPECT_GT(decided[m], kPairs / 3) << "mode " << m;
  EXPECT_GT(sorted, kPairs / 2);
}

// Inserting, appending, erasing and overwriting prefixes in any order keeps the list's own
// account of its order equal to counting it afresh.
TEST(KeyPrefixList, OrderKeptInStepThroughEveryChange) {
  std::mt19937 random(5);
  const uint64_t kValues[] = {keyprefix::Of(L"A", false),  keyprefix::Of(L"AB", false),
                              keyprefix::Of(L"B-", false), keyprefix::Of(L"C", false),
                              keyprefix::Of(L"D", false),  keyprefix::Of(L"E", false),
                              keyprefix::Of(L"F", false),  keyprefix::kNone};
  KeyPrefixList prefixes;
  int risingSeen = 0, fallingSeen = 0;
  for (int step = 0; step < 20000; ++step) {
    const uint64_t value = kValues[random() % 8];
    const size_t at = prefixes.empty() ? 0 : random() % prefixes.size();
    switch (random() % 5) {
      case 0: {
        // Mostly where it belongs, as sorted inserts put it, so that the list often rises.
        size_t sorted = 0;
        while (sorted < prefixes.size() && prefixes[sorted] < value) ++sorted;
        prefixes.Insert(random() % 4 ? sorted : at, value);
        break;
      }
      case 1:
        // Ahead of a sort the order goes uncounted until the sort counts it.
        prefixes.AppendForSort(value, 0);
        EXPECT_FALSE(prefixes.Rising());
        prefixes.Recount();
        break;
      case 2:
        prefixes.Set(at, value);
        break;
      default:
        if (prefixes.size() > 3) prefixes.Erase(at);
    }
    KeyPrefixList recounted = prefixes;
    recounted.Recount();
    ASSERT_EQ(prefixes.Rising(), recounted.Rising()) << "step " << step;
    ASSERT_EQ(prefixes.RisingClean(), recounted.RisingClean()) << "step " << step;
    // The summary of first lanes never says no for a key that is there.
    ASSERT_TRUE(prefixes.SummaryCovers()) << "step " << step;
    prefixes.Rising() ? ++risingSeen : ++fallingSeen;
  }
  EXPECT_GT(risingSeen, 50);
  EXPECT_GT(fallingSeen, 50);
}

// The summary of a list's first lanes rules a text out exactly when no key of the list could
// begin (or, backward, end) as the text does, as far as it looks; marks of gone keys stay until
// the summary is made afresh.
TEST(KeyPrefixList, SummaryRulesOutOnlyWhatNoKeyCouldMatch) {
  KeyPrefixList forward, backward;
  for (const wchar_t* key : {L"PFYH", L"PA", L"Z", L"600000", L"浦发"}) {
    forward.Append(keyprefix::Of(key, false));
    backward.Append(keyprefix::Of(key, true));
  }
  auto may = [](const KeyPrefixList& list, const wchar_t* text, bool backward, bool whole) {
    keyprefix::Probe probe;
    probe.Prepare(text, backward);
    const int second = probe.second              ? static_cast<int>(probe.second)
                       : whole && probe.end == 1 ? 0
                                                 : -1;
    return !probe.first || list.MayBeginWith(probe.first, second);
  };
  EXPECT_TRUE(may(forward, L"PF", false, false) && may(forward, L"pa", false, false) &&
              may(forward, L"P", false, false) && may(forward, L"60", false, false) &&
              may(forward, L"浦", false, false) && may(forward, L"Z", false, true));
  EXPECT_FALSE(may(forward, L"PB", false, false) || may(forward, L"Q", false, false) ||
               may(forward, L"ZA", false, false) || may(forward, L"P", false, true));
  EXPECT_TRUE(may(backward, L"yh", true, false) && may(backward, L"00", true, false) &&
              may(backward, L"发", true, false));
  EXPECT_FALSE(may(backward, L"HY", true, false) || may(backward, L"B", true, false));
  // Texts that begin with a space or a full-width letter rule out nothing; nor does a key that
  // begins with one.
  EXPECT_TRUE(may(forward, L" Q", false, false) && may(forward, L"\xFF31", false, false));
  forward.Append(keyprefix::Of(L" Q", false));
  EXPECT_TRUE(may(forward, L"Q", false, false));
  // Erased keys leave their marks until as many have gone as half the list.
  KeyPrefixList shrinking;
  for (int i = 0; i < 40; ++i) shrinking.Append(keyprefix::Of(i < 20 ? L"AB" : L"CD", false));
  for (int i = 0; i < 20; ++i) shrinking.Erase(0);
  EXPECT_TRUE(shrinking.SummaryCovers());
  EXPECT_TRUE(shrinking.MayBeginWith('A', 'B'));
  for (int i = 0; i < 19; ++i) shrinking.Erase(0);
  EXPECT_TRUE(shrinking.MayBeginWith('C', 'D'));
  EXPECT_FALSE(shrinking.MayBeginWith('A', 'B'));
}

// Keys that keep every list in strict order: no spaces, no small or full-width letters.
std::wstring CleanAlphabet() {
  std::wstring chars = L"0126ABZ-'\xFF10\x03A3\x6D66\x53D1\x4E2D";
  if (sizeof(wchar_t) == 4) chars += static_cast<wchar_t>(0x1F600);
  return chars;
}

// Items in many categories and kinds; securities are known to the data centre so that aliases
// resolve. Empty keys compare unequal to everything, so clean items have none.
std::vector<KeyboardItemInfo> MixedItems(std::mt19937& random, int count,
                                         const std::wstring& alphabet, int minLength) {
  const unsigned short kTypes[] = {0x0102, 0x0006, 0x0101, 0x7403, 0x0109, 0x0007, 0x6700, 0x6400};
  std::vector<KeyboardItemInfo> items;
  for (int i = 0; i < count; ++i) {
    const unsigned short type = kTypes[random() % (minLength ? 7 : 8)];
    DWORD kind = type >= 0x6400 ? KIND_COMMAND : random() % 9 == 0 ? KIND_ALIAS : 0;
    if (!kind && random() % 9 == 0) kind = KIND_FORMER_NAME;
    // Numeric commands put their digit keys into the map; give some of them digits only.
    const std::wstring code = type == 0x6400 && i % 2 ? std::to_wstring(random() % 50)
                                                      : RandomText(random, alphabet, 7, minLength);
    items.push_back(Item(code.c_str(), RandomText(random, alphabet, 5, minLength).c_str(),
                         RandomText(random, alphabet, 6, minLength).c_str(), type, kind,
                         static_cast<unsigned char>(random() % 3), i));
  }
  return items;
}

std::string Describe(const std::vector<KeyboardItemInfo>& results) {
  std::string out;
  for (const KeyboardItemInfo& r : results) {
    out += std::to_string(r.m_eSelectType) + "/" + std::to_string(r.m_dwKind) + "/" +
           std::to_string(r.m_wType) + "/" + std::to_string(r.m_nExtraInfo) + "/";
    for (const wchar_t* key : {r.m_szCode, r.m_szHotKey, r.m_szName})
      for (const wchar_t* p = key; *p; ++p) out += std::to_string(static_cast<long>(*p)) + ",";
    out += ";";
  }
  return out;
}

// Letters, digits and ideographs: lists whose prefixes all rise, so that most searches take
// their runs from the prefixes alone.
std::wstring PlainAlphabet() { return L"0126ABZ\x6D66\x53D1\x4E2D"; }

// Non-empty lists whose prefixes rise (`clean`: and hold letters, digits and ideographs only).
int RisingLists(const KeyboardInputMappingTable& table, bool clean) {
  int count = 0;
  for (const auto& group : table.m_arrKeyPrefix)
    for (const KeyPrefixList& prefixes : group)
      count += !prefixes.empty() && (clean ? prefixes.RisingClean() : prefixes.Rising());
  return count;
}

// Two tables, one searching with the prefixes and one with the keys alone, loaded alike and
// changed alike, over plain keys, clean keys and keys of every kind (which may make removals
// leave entries behind): the results must agree byte for byte.
TEST(KeyPrefixSearch, SameResultsAsTheKeysAloneThroughEveryChange) {
  const char* kKeySets[] = {"plain keys", "clean keys", "any keys"};
  for (int variant = 0; variant < 6; ++variant) {
    const bool bulk = variant % 2 == 0, plain = variant < 2, clean = variant < 4;
    SCOPED_TRACE(std::string(bulk ? "bulk, " : "single, ") + kKeySets[variant / 2]);
    std::mt19937 random(11 + variant);
    const std::wstring keyChars = plain   ? PlainAlphabet()
                                  : clean ? CleanAlphabet()
                                          : Alphabet(),
                       queryChars = Alphabet();
    TableHost host;
    std::vector<KeyboardItemInfo> items = MixedItems(random, 1500, keyChars, clean);
    for (const KeyboardItemInfo& item : items)
      if (item.m_dwKind == 0)
        host.Master()->AddSecurity(item.m_szCode, item.m_cMarket, item.m_szName);
    KeyboardInputMappingTable fast, exact;
    exact.m_bUseKeyPrefixes = false;
    for (KeyboardInputMappingTable* table : {&fast, &exact})
      ASSERT_TRUE(bulk ? AddAll(*table, items) : AddEach(*table, items));
    // Plain keys must keep the searches by prefixes alone at work, or this would not test them.
    if (plain) {
      EXPECT_GT(RisingLists(fast, false), 20);
      EXPECT_GT(RisingLists(fast, true), 10);
    }

    int ruledOut = 0;
    auto compareSearches = [&](int round) {
      // Until the first removal nothing can be left behind: the prefixes are at work, in step.
      if (round == 0) {
        ASSERT_EQ(StoreViolations(fast, false), "");
      }
      for (int q = 0; q < 60; ++q) {
        std::wstring text;
        const KeyboardItemInfo& item = items[random() % items.size()];
        const std::wstring key = q % 3 == 0   ? item.m_szCode
                                 : q % 3 == 1 ? item.m_szHotKey
                                              : item.m_szName;
        switch (q % 4) {
          case 0:  // a beginning of a stored key, in small letters every other time
            text = key.substr(0, 1 + random() % 3);
            if (q % 8 == 0)
              for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
            break;
          case 1:  // an ending
            text = key.substr(key.size() - std::min<size_t>(key.size(), 1 + random() % 3));
            break;
          case 2:
            text = key;
            break;
          default:
            text = RandomText(random, q % 8 == 3 ? L"0126" : queryChars, 4);
        }
        if (text.empty()) continue;
        // Lists the search may pass over unread, by the summary of their first lanes.
        for (int g = 0; g < INDEX_GROUPS; ++g) {
          keyprefix::Probe probe;
          probe.Prepare(text.c_str(), g % 2 == 1);
          for (const KeyPrefixList& prefixes : fast.m_arrKeyPrefix[g])
            ruledOut += probe.first && !prefixes.empty() &&
                        !prefixes.MayBeginWith(probe.first,
                                               probe.second ? static_cast<int>(probe.second) : -1);
        }
        std::vector<KeyboardItemInfo> withPrefixes, withKeys;
        fast.Search(text.c_str(), &withPrefixes, false);
        exact.Search(text.c_str(), &withKeys, false);
        ASSERT_EQ(Describe(withPrefixes), Describe(withKeys))
            << "round " << round << " query " << q << ": " << Codes(text);
      }
    };

    compareSearches(0);
    for (int round = 1; round <= 6; ++round) {
      // Removals, replacements (new keys, some equal to a stored record's) and new items.
      for (int n = 0; n < 40; ++n) {
        const KeyboardItemInfo victim = items[random() % items.size()];
        const std::wstring newName = RandomText(random, keyChars, 6, clean);
        const std::wstring newCode = RandomText(random, keyChars, 4, clean);
        for (KeyboardInputMappingTable* table : {&fast, &exact}) {
          if (n % 3 == 0)
            RemoveStored(*table, victim);
          else if (n % 3 == 1)
            table->ReplaceItem(victim.m_szCode, victim.m_szHotKey, victim.m_szName, &victim.m_wType,
                               &victim.m_dwKind, n % 2 ? newCode.c_str() : nullptr, nullptr,
                               newName.c_str(), nullptr, nullptr, nullptr);
        }
      }
      const std::vector<KeyboardItemInfo> more = MixedItems(random, 30, keyChars, clean);
      for (KeyboardInputMappingTable* table : {&fast, &exact}) {
        if (round == 3) table->RemoveMarket(2);
        ASSERT_TRUE(bulk ? AddAll(*table, more) : AddEach(*table, more));
      }
      items.insert(items.end(), more.begin(), more.end());
      compareSearches(round);
    }
    // The searches passed over lists unread, or the results above would not test the summary.
    if (plain) {
      EXPECT_GT(ruledOut, 1000);
    }
  }
}

// Long keys that share their first eight characters by the hundred, as full-pinyin keys do: a
// bulk add sorts their lists as the keys alone sort them, equal keys in the same order, whatever
// the characters past the first eight (small letters, spaces, full-width forms, keys ending there).
TEST(KeyPrefixSort, LongKeysSortAsTheKeysAloneSortThem) {
  TableHost host;
  for (bool clean : {true, false}) {
    SCOPED_TRACE(clean ? "clean keys" : "any keys");
    std::mt19937 random(clean ? 5 : 6);
    const std::wstring stems[] = {L"YUNCHENG", L"ZHONGGUO", L"DUIERJIA",
                                  L"\x6D66\x53D1"
                                  L"ABZ012"};
    const std::wstring tailChars = clean ? CleanAlphabet() : Alphabet();
    auto longKey = [&](int maxMore) {
      std::wstring key = stems[random() % 4];
      if (!clean && random() % 8 == 0) key[random() % key.size()] = L'a';
      return key + RandomText(random, tailChars, maxMore);
    };
    std::vector<KeyboardItemInfo> items;
    for (int i = 0; i < 3000; ++i) {
      KeyboardItemInfo item = Item(longKey(3).c_str(), longKey(6).c_str(), longKey(5).c_str(),
                                   type_word::SH_A, KIND_FULL_PINYIN_ALIAS, 1, i);
      // In a second bulk add, every fifth a record of the first again, as it was or in small
      // letters: the duplicate check must find it among codes that share their first eight
      // characters, in a list whose first part is sorted and whose rest is not.
      if (i >= 2000 && i % 5 == 4) {
        item = items[random() % 2000];
        if (i % 10 == 9)
          for (wchar_t* field : {item.m_szCode, item.m_szHotKey, item.m_szName})
            for (wchar_t* c = field; *c; ++c) *c = static_cast<wchar_t>(towlower(*c));
      }
      items.push_back(item);
    }
    KeyboardInputMappingTable fast, exact;
    exact.m_bUseKeyPrefixes = false;
    const std::vector<KeyboardItemInfo> first(items.begin(), items.begin() + 2000),
        second(items.begin() + 2000, items.end());
    for (KeyboardInputMappingTable* table : {&fast, &exact})
      ASSERT_TRUE(AddAll(*table, first) && AddAll(*table, second));
    ASSERT_GT(fast.m_arrIndex[2][66].size(), 2600u);
    EXPECT_EQ(fast.m_nItemCount, exact.m_nItemCount);
    EXPECT_LT(fast.m_nItemCount, 2900);
    for (int g = 0; g < INDEX_GROUPS; ++g)
      EXPECT_EQ(ListPositions(fast, g, 66), ListPositions(exact, g, 66)) << "group " << g;
  }
}

}  // namespace

namespace {

// A bulk add's duplicate check over codes whose first characters all stand for themselves, and
// over codes equal to them but for spaces, full-width digits or small letters: the filter that
// spares most checks their search must never take an equal code for an absent one, whichever
// side holds the spaces or widths.
TEST(KeyFilterTest, BulkAddsFindCodesEqualButForSpacesWidthsAndCase) {
  TableHost host;
  auto variant = [](std::wstring code, int how) {
    switch (how % 3) {
      case 0:  // a space inside
        return code.substr(0, 3) + L" " + code.substr(3);
      case 1:  // full-width digits
        for (wchar_t& c : code)
          if (c >= L'0' && c <= L'9') c = static_cast<wchar_t>(c + 0xFEE0);
        return code;
      default:  // small letters
        for (wchar_t& c : code) c = static_cast<wchar_t>(towlower(c));
        return code;
    }
  };
  // Odd forms listed first, then the plain ones offered; and the other way round.
  for (bool oddFirst : {false, true}) {
    SCOPED_TRACE(oddFirst ? "odd forms listed" : "odd forms offered");
    std::vector<KeyboardItemInfo> first, second;
    for (int i = 0; i < 600; ++i) {
      std::wstring code = L"6000" + std::to_wstring(1000 + i) + (i % 2 ? L"AB" : L"");
      KeyboardItemInfo plain =
          Item(code.c_str(), L"PFYH", L"\x6D66\x53D1", type_word::SH_A, 0, 1, i);
      KeyboardItemInfo odd = plain;
      CopyKeyField(odd.m_szCode, variant(code, i).c_str());
      first.push_back(oddFirst ? odd : plain);
      second.push_back(oddFirst ? plain : odd);
    }
    KeyboardInputMappingTable fast, exact;
    exact.m_bUseKeyPrefixes = false;
    for (KeyboardInputMappingTable* table : {&fast, &exact})
      ASSERT_TRUE(AddAll(*table, first) && AddAll(*table, second));
    EXPECT_EQ(fast.m_nItemCount, exact.m_nItemCount);
    EXPECT_LT(fast.m_nItemCount, 1000);
    const int category = CategoryOfRecord(first[0]);
    for (int g = 0; g < INDEX_GROUPS; ++g)
      EXPECT_EQ(ListPositions(fast, g, category), ListPositions(exact, g, category))
          << "group " << g;
  }
}

}  // namespace
