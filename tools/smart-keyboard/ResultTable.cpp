#include "ResultTable.h"

#include "platform/Utf8.h"
#include "table/RowTexts.h"

namespace {

// Terminal columns of a character: East Asian wide and full-width forms take two.
int ColumnsOf(wchar_t c) {
  uint32_t u = static_cast<uint32_t>(c);
  bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
              (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
              (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
              (u >= 0xFFE0 && u <= 0xFFE6);
  return wide ? 2 : 1;
}

std::string Cell(const std::wstring& text, int width) {
  int used = 0;
  for (wchar_t c : text) used += ColumnsOf(c);
  std::string cell = plat::WideToUtf8(text);
  if (used < width) cell.append(static_cast<size_t>(width - used), ' ');
  return cell + "  ";
}

const wchar_t* HowFound(KEYBOARD_SELECT_TYPE type) {
  switch (type) {
    case KEYBOARD_SELECT_WHOLE:
      return L"whole key";
    case KEYBOARD_SELECT_BEGIN:
      return L"begins with";
    case KEYBOARD_SELECT_END:
      return L"ends with";
    default:
      return L"-";
  }
}

}  // namespace

std::string FormatResultTable(const std::string& query, bool found,
                              const std::vector<KeyboardItemInfo>& results,
                              KeyboardInputMappingTable* table) {
  std::string out = "\"" + query + "\": ";
  if (!found) return out + "nothing to search for\n";
  if (results.empty()) return out + "no match\n";
  out += std::to_string(results.size()) + (results.size() == 1 ? " match\n" : " matches\n");
  out += "  " + Cell(L"#", 3) + Cell(L"code", 10) + Cell(L"hot key", 12) + Cell(L"name", 20) +
         Cell(L"category", 8) + "found by\n";
  for (size_t row = 0; row < results.size(); ++row) {
    const KeyboardItemInfo& item = results[row];
    std::wstring category, code, name;
    GetRowTexts(table, category, code, name, static_cast<int>(row), results);
    out += "  " + Cell(std::to_wstring(row + 1), 3) + Cell(code, 10) + Cell(item.m_szHotKey, 12) +
           Cell(name, 20) + Cell(category, 8) + plat::WideToUtf8(HowFound(item.m_eSelectType)) +
           "\n";
  }
  return out;
}
