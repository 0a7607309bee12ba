#include "ResultTable.h"

#include <algorithm>

#include "DisplayWidth.h"
#include "platform/Utf8.h"
#include "table/MappingTable.h"
#include "table/RowTexts.h"

namespace {

const int kColumns = 6;

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
  out += std::to_string(results.size()) + (results.size() == 1 ? " match" : " matches");
  if (results.size() >= static_cast<size_t>(SEARCH_RESULT_CAP))
    out += " (the most the smart keyboard lists: more items may match)";
  out += "\n";

  // Every cell first, so that each column is as wide as its widest cell on screen.
  std::vector<std::wstring> cells = {L"#", L"code", L"hot key", L"name", L"category", L"found by"};
  for (size_t row = 0; row < results.size(); ++row) {
    const KeyboardItemInfo& item = results[row];
    std::wstring category, code, name;
    GetRowTexts(table, category, code, name, static_cast<int>(row), results);
    cells.insert(cells.end(), {std::to_wstring(row + 1), code, item.m_szHotKey, name,
                               category, HowFound(item.m_eSelectType)});
  }
  int widths[kColumns] = {};
  std::vector<int> cellWidths(cells.size());
  for (size_t i = 0; i < cells.size(); ++i) {
    cellWidths[i] = DisplayWidth(cells[i]);
    widths[i % kColumns] = std::max(widths[i % kColumns], cellWidths[i]);
  }
  for (size_t i = 0; i < cells.size(); ++i) {
    const int column = static_cast<int>(i % kColumns);
    if (column == 0) out += "  ";
    out += plat::WideToUtf8(cells[i]);
    if (column == kColumns - 1) {
      out += "\n";
    } else {
      out.append(static_cast<size_t>(widths[column] - cellWidths[i] + 2), ' ');
    }
  }
  return out;
}
