// Results as a person reads them: the category name and how each item was found, in columns as
// wide as their widest cell on screen (DisplayWidth.h), and a word when the list reached the
// search's limit of 100 results.
#pragma once

#include <string>
#include <vector>

#include "frame/KeyboardItemInfo.h"

class KeyboardInputMappingTable;

// Each row's category, code and name as the pop-up's list shows them.
std::string FormatResultTable(const std::string& query, bool found,
                              const std::vector<KeyboardItemInfo>& results,
                              KeyboardInputMappingTable* table);
