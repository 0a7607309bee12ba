#include "ItemsFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/Utf8.h"

namespace {

const char kBom[] = "\xEF\xBB\xBF";

// Decimal with an optional '-', or 0x hexadecimal: the whole field, within [minimum, maximum].
// No sign, space or other decoration is read past, so a number means what it shows.
bool ParseNumber(const char* begin, const char* end, int64_t minimum, int64_t maximum,
                 int64_t* value) {
  const bool hex = end - begin > 2 && begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X');
  const bool negative = !hex && begin < end && *begin == '-';
  if (negative && minimum >= 0) return false;
  const char* p = begin + (hex ? 2 : negative ? 1 : 0);
  if (p == end) return false;
  const uint64_t limit =
      negative ? static_cast<uint64_t>(-minimum) : static_cast<uint64_t>(maximum);
  uint64_t magnitude = 0;
  for (; p < end; ++p) {
    unsigned digit;
    if (*p >= '0' && *p <= '9')
      digit = static_cast<unsigned>(*p - '0');
    else if (hex && *p >= 'a' && *p <= 'f')
      digit = static_cast<unsigned>(*p - 'a' + 10);
    else if (hex && *p >= 'A' && *p <= 'F')
      digit = static_cast<unsigned>(*p - 'A' + 10);
    else
      return false;
    magnitude = magnitude * (hex ? 16 : 10) + digit;
    if (magnitude > limit) return false;  // also keeps the next step from overflowing
  }
  *value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

bool IsControl(wchar_t c) {
  const uint32_t u = static_cast<uint32_t>(c);
  return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

std::string Hex4(uint32_t value) {
  char text[16];
  snprintf(text, sizeof(text), "U+%04X", static_cast<unsigned>(value));
  return text;
}

// Copies a checked text into its field and clears the rest, as the record's constructor does.
template <size_t N>
void SetField(wchar_t (&field)[N], const std::wstring& text) {
  memcpy(field, text.data(), text.size() * sizeof(wchar_t));
  memset(field + text.size(), 0, (N - text.size()) * sizeof(wchar_t));
}

}  // namespace

ItemsParser::ItemsParser(const char* text, size_t size) : m_pNext(text), m_pEnd(text + size) {
  if (size >= 3 && memcmp(text, kBom, 3) == 0) m_pNext += 3;
  m_bAtStart = false;
}

ItemsParser::ItemsParser(ItemsSource& source)
    : ItemsParser(source.m_pText ? source.m_pText : "", source.m_nSize) {
  if (!source.m_pFile) return;
  m_pSource = &source;
  m_bAtStart = true;
  rewind(source.m_pFile);
}

bool ItemsParser::Refill() {
  if (!m_pSource) return false;
  // The line begun so far moves to the front; a line longer than the buffer doubles it.
  const size_t kept = static_cast<size_t>(m_pEnd - m_pNext);
  const size_t block = 1 << 16;
  if (kept > 0) memmove(&m_buffer[0], m_pNext, kept);
  m_buffer.resize(kept + block);
  size_t got = fread(&m_buffer[kept], 1, block, m_pSource->m_pFile);
  if (got == 0 && ferror(m_pSource->m_pFile)) {
    m_error.line = 0;
    m_error.message = "cannot read " + m_pSource->m_path + ": " + strerror(errno);
    m_bFailed = true;
  }
  m_buffer.resize(kept + got);
  m_pNext = m_buffer.data();
  m_pEnd = m_pNext + m_buffer.size();
  if (m_bAtStart && m_buffer.size() >= 3) {
    if (memcmp(m_pNext, kBom, 3) == 0) m_pNext += 3;
    m_bAtStart = false;
  }
  return got > 0;
}

bool ItemsParser::Refuse(const std::string& message) {
  m_bFailed = true;
  m_error.line = m_nLine;
  m_error.message = message;
  return false;
}

bool ItemsParser::NextLine(const char** begin, const char** end) {
  while (!m_bFailed) {
    const char* newline = static_cast<const char*>(memchr(m_pNext, '\n', m_pEnd - m_pNext));
    // A line that the buffer holds whole, or the last one of the text.
    if (!newline && Refill()) continue;
    if (m_bFailed || m_pNext == m_pEnd) return false;
    *begin = m_pNext;
    *end = newline ? newline : m_pEnd;
    m_pNext = newline ? newline + 1 : m_pEnd;
    ++m_nLine;
    if (*end > *begin && (*end)[-1] == '\r') --*end;
    if (*end > *begin && **begin != '#') return true;
  }
  return false;
}

bool ItemsParser::SplitColumns(const char* begin, const char* end, Columns* columns) {
  size_t count = 0;
  for (const char* p = begin;; ++count) {
    const char* tab = static_cast<const char*>(memchr(p, '\t', end - p));
    if (count < kColumnCount) {
      columns->begin[count] = p;
      columns->end[count] = tab ? tab : end;
    }
    if (!tab) {
      ++count;
      break;
    }
    p = tab + 1;
  }
  if (count == kColumnCount) return true;
  return Refuse("expected 7 tab-separated columns, found " + std::to_string(count));
}

bool ItemsParser::ParseNumbers(const Columns& columns, int first, int64_t values[4]) {
  static const char* const kNames[] = {"type", "extra", "kind", "market"};
  static const int64_t kLimits[4][2] = {
      {0, 0xFFFF}, {INT32_MIN, 0xFFFFFFFFLL}, {0, 0xFFFFFFFFLL}, {0, 255}};
  for (int k = first; k < 4; ++k) {
    const char* begin = columns.begin[3 + k];
    const char* end = columns.end[3 + k];
    if (!ParseNumber(begin, end, kLimits[k][0], kLimits[k][1], &values[k]))
      return Refuse(std::string("bad ") + kNames[k] + " '" + std::string(begin, end) + "'");
  }
  return true;
}

bool ItemsParser::NextColumns(Columns* columns, int firstNumber, int64_t values[4]) {
  const char *begin, *end;
  return NextLine(&begin, &end) && SplitColumns(begin, end, columns) &&
         ParseNumbers(*columns, firstNumber, values);
}

bool ItemsParser::Glance(ItemGlance* glance) {
  Columns columns;
  int64_t values[4];
  if (!NextColumns(&columns, 2, values)) return false;
  glance->kind = static_cast<DWORD>(values[2]);
  glance->market = static_cast<unsigned char>(values[3]);
  glance->code.assign(columns.begin[0], columns.end[0]);
  return true;
}

bool ItemsParser::Next(KeyboardItemInfo* item) {
  static const char* const kTexts[] = {"code", "hotkey", "name"};
  static const size_t kTextLimits[] = {16, 32, 32};
  Columns columns;
  int64_t values[4];
  if (!NextColumns(&columns, 0, values)) return false;
  for (int k = 0; k < 3; ++k) {
    m_field.assign(columns.begin[k], columns.end[k]);
    if (!plat::Utf8ToWide(m_field, &m_wide))
      return Refuse(std::string("bad ") + kTexts[k] + ": not UTF-8");
    for (wchar_t c : m_wide)
      if (IsControl(c))
        return Refuse(std::string("bad ") + kTexts[k] + ": control character " +
                      Hex4(static_cast<uint32_t>(c)));
    if (m_wide.size() > kTextLimits[k])
      return Refuse(std::string("bad ") + kTexts[k] + ": " + std::to_string(m_wide.size()) +
                    " characters, the record holds " + std::to_string(kTextLimits[k]));
    if (k == 0)
      SetField(item->m_szCode, m_wide);
    else if (k == 1)
      SetField(item->m_szHotKey, m_wide);
    else
      SetField(item->m_szName, m_wide);
  }
  item->m_wType = static_cast<unsigned short>(values[0]);
  item->m_nExtraInfo = static_cast<int>(static_cast<uint32_t>(values[1]));
  if (item->m_pUnknown) {
    IUnknown* old = item->m_pUnknown;
    item->m_pUnknown = nullptr;
    old->Release();
  }
  item->m_dwKind = static_cast<DWORD>(values[2]);
  item->m_cMarket = static_cast<unsigned char>(values[3]);
  item->m_eSelectType = KEYBOARD_SELECT_NONE;
  return true;
}

bool ParseItems(const std::string& text, std::vector<KeyboardItemInfo>* items,
                ItemsFileError* error) {
  ItemsParser parser(text.data(), text.size());
  KeyboardItemInfo item;
  while (parser.Next(&item)) items->push_back(item);
  if (parser.Failed()) *error = parser.Error();
  return !parser.Failed();
}
