#include "SkinFile.h"

#include <cwctype>

#include "platform/Utf8.h"

namespace ts {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r'; }

std::wstring Trim(const std::wstring& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

struct Word {
  std::wstring text;
  size_t begin;  // position in the text it came from
};

// Blank-separated words with their positions.
std::vector<Word> Words(const std::wstring& text) {
  std::vector<Word> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > start) words.push_back(Word{text.substr(start, i - start), start});
  }
  return words;
}

bool AllDigits(const std::wstring& text) {
  if (text.empty()) return false;
  for (wchar_t c : text)
    if (c < L'0' || c > L'9') return false;
  return true;
}

// A decimal number within [low, high].
bool ParseNumber(const std::wstring& text, int low, int high, int& value) {
  if (text.empty() || text.size() > 6) return false;
  int result = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    result = result * 10 + (c - L'0');
  }
  if (result < low || result > high) return false;
  value = result;
  return true;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// "#RRGGBB" as a COLORREF (red in the low byte).
bool ParseColor(const std::wstring& text, uint32_t& color) {
  if (text.size() != 7 || text[0] != L'#') return false;
  int channel[3];
  for (int i = 0; i < 3; ++i) {
    int high = HexDigit(text[1 + 2 * i]);
    int low = HexDigit(text[2 + 2 * i]);
    if (high < 0 || low < 0) return false;
    channel[i] = high * 16 + low;
  }
  color = static_cast<uint32_t>(channel[0]) | (static_cast<uint32_t>(channel[1]) << 8) |
          (static_cast<uint32_t>(channel[2]) << 16);
  return true;
}

// SIZE WEIGHT FACE[, FACE...]; the message says what is wrong.
bool ParseFont(const std::wstring& value, SkinFont& font, std::wstring& message) {
  std::vector<Word> words = Words(value);
  if (words.size() < 3) {
    message = L"a font needs a size, a weight and at least one face";
    return false;
  }
  if (!ParseNumber(words[0].text, 1, 200, font.size)) {
    message = L"font size must be 1 to 200 pixels";
    return false;
  }
  if (!ParseNumber(words[1].text, 1, 1000, font.weight)) {
    message = L"font weight must be 1 to 1000";
    return false;
  }
  // The faces are the rest of the value, split at commas; a face may contain blanks.
  const std::wstring faces = value.substr(words[2].begin);
  size_t start = 0;
  while (start <= faces.size()) {
    size_t comma = faces.find(L',', start);
    if (comma == std::wstring::npos) comma = faces.size();
    std::wstring face = Trim(faces.substr(start, comma - start));
    if (face.empty()) {
      message = L"empty font face in the list";
      return false;
    }
    if (face.size() > 31) {
      message = L"font face longer than 31 characters: " + face;
      return false;
    }
    font.faces.push_back(face);
    start = comma + 1;
  }
  return true;
}

// FILE [WIDTH HEIGHT]; the file stays inside the skin folder.
bool ParseBitmap(const std::wstring& value, SkinBitmap& bitmap, std::wstring& message) {
  std::vector<Word> words = Words(value);
  std::wstring file = value;
  bitmap.width = bitmap.height = 0;
  const size_t count = words.size();
  if (count >= 1 && AllDigits(words[count - 1].text)) {
    // A trailing number starts the size: both numbers, in range, after a file name.
    if (count < 3 || !ParseNumber(words[count - 2].text, 1, 4096, bitmap.width) ||
        !ParseNumber(words[count - 1].text, 1, 4096, bitmap.height)) {
      message = L"bitmap size must be two numbers from 1 to 4096 after the file name";
      return false;
    }
    file = value.substr(0, words[count - 2].begin);
  }
  file = Trim(file);
  if (file.empty()) {
    message = L"a bitmap needs a file name";
    return false;
  }
  const bool absolute =
      file[0] == L'/' || file[0] == L'\\' || file.find(L':') != std::wstring::npos;
  bool climbs = false;
  size_t start = 0;
  while (start <= file.size()) {
    size_t end = file.find_first_of(L"/\\", start);
    if (end == std::wstring::npos) end = file.size();
    if (file.compare(start, end - start, L"..") == 0) climbs = true;
    start = end + 1;
  }
  if (absolute || climbs) {
    message = L"bitmap file must lie inside the skin folder: " + file;
    return false;
  }
  bitmap.file = file;
  return true;
}

}  // namespace

SkinFile ParseSkinText(const std::string& utf8) {
  SkinFile skin;
  size_t offset = 0;
  if (utf8.compare(0, 3, "\xEF\xBB\xBF") == 0) offset = 3;
  int lineNumber = 0;
  while (offset < utf8.size()) {
    size_t end = utf8.find('\n', offset);
    if (end == std::string::npos) end = utf8.size();
    const std::string raw = utf8.substr(offset, end - offset);
    offset = end + 1;
    ++lineNumber;

    auto report = [&](const std::wstring& message) {
      skin.issues.push_back(SkinIssue{lineNumber, message});
    };
    std::wstring line;
    if (!plat::Utf8ToWide(raw, &line)) {
      report(L"not UTF-8 text");
      continue;
    }
    line = Trim(line);
    if (line.empty() || line[0] == L'#') continue;

    const size_t equals = line.find(L'=');
    std::vector<Word> head = Words(line.substr(0, equals));
    if (equals == std::wstring::npos || head.size() != 2) {
      report(L"expected: color|font|bitmap KEY = VALUE");
      continue;
    }
    const std::wstring& kind = head[0].text;
    const std::wstring& key = head[1].text;
    const std::wstring value = Trim(line.substr(equals + 1));
    std::wstring message;
    if (kind == L"color") {
      uint32_t color = 0;
      if (!ParseColor(value, color)) {
        report(L"colour must be #RRGGBB: " + value);
      } else if (!skin.colors.emplace(key, color).second) {
        report(L"colour key given twice: " + key);
      }
    } else if (kind == L"font") {
      SkinFont font;
      if (!ParseFont(value, font, message)) {
        report(message);
      } else if (!skin.fonts.emplace(key, font).second) {
        report(L"font key given twice: " + key);
      }
    } else if (kind == L"bitmap") {
      SkinBitmap bitmap;
      if (!ParseBitmap(value, bitmap, message)) {
        report(message);
      } else if (!skin.bitmaps.emplace(key, bitmap).second) {
        report(L"bitmap key given twice: " + key);
      }
    } else {
      report(L"unknown entry kind: " + kind);
    }
  }
  return skin;
}

}  // namespace ts
