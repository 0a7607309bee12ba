// Results as a person reads them: aligned columns with the category name and how each item was
// found.
#pragma once

#include <string>
#include <vector>

#include "frame/KeyboardItemInfo.h"

class KeyboardInputMappingTable;

// Each row's category, code and name as the pop-up's list shows them.
std::string FormatResultTable(const std::string& query, bool found,
                              const std::vector<KeyboardItemInfo>& results,
                              KeyboardInputMappingTable* table);
