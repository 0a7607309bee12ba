// The three texts of a row of the suggestion list (category, code, name), shared by the list and
// the command-line tools so that both show an item the same way.
#pragma once

#include <string>
#include <vector>

#include "frame/KeyboardItemInfo.h"

class KeyboardInputMappingTable;

// Fills the texts of items[index]: "CDR" for a depositary receipt, otherwise the name of the
// item's category, with an alias under the category of its security; the code with ".OF" for
// market 150; the name. False, with the texts untouched, without a table or for an index outside
// the items.
bool GetRowTexts(const KeyboardInputMappingTable* table, std::wstring& category, std::wstring& code,
                 std::wstring& name, int index, const std::vector<KeyboardItemInfo>& items);
