#include "Queries.h"

#include <cstdio>

namespace {

const char kBom[] = "\xEF\xBB\xBF";

const char* ControlName(unsigned c) {
  switch (c) {
    case '\t':
      return "a tab";
    case '\r':
      return "a carriage return";
    case '\n':
      return "a line feed";
    default:
      return nullptr;
  }
}

}  // namespace

std::string QueryRefusal(const std::string& query) {
  for (size_t i = 0; i < query.size(); ++i) {
    unsigned c = static_cast<unsigned char>(query[i]);
    // C1 controls, U+0080-U+009F, are C2 80 to C2 9F in UTF-8.
    if (c == 0xC2 && i + 1 < query.size()) {
      const unsigned next = static_cast<unsigned char>(query[i + 1]);
      if (next < 0x80 || next > 0x9F) continue;
      c = next;
    } else if (c >= 0x20 && c != 0x7F) {
      continue;
    }
    if (const char* name = ControlName(c)) return std::string("it holds ") + name;
    char text[64];
    snprintf(text, sizeof(text), "it holds the control character U+%04X", c);
    return text;
  }
  return std::string();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = text.compare(0, 3, kBom) == 0 ? 3 : 0;
  while (start < text.size()) {
    size_t newline = text.find('\n', start);
    size_t end = newline == std::string::npos ? text.size() : newline;
    size_t next = newline == std::string::npos ? text.size() : newline + 1;
    if (end > start && text[end - 1] == '\r') --end;
    lines.push_back(text.substr(start, end - start));
    start = next;
  }
  return lines;
}

void SkipByteOrderMark(std::string* firstLine) {
  if (firstLine->compare(0, 3, kBom) == 0) firstLine->erase(0, 3);
}
