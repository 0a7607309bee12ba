// The items file of the tools: UTF-8, one item a line, seven tab-separated columns
// code, hotkey, name, type, extra, kind, market; empty lines and '#' lines are ignored.
#pragma once

#include <string>
#include <vector>

#include "frame/KeyboardItemInfo.h"

struct ItemsFileError {
  int line = 0;  // 1-based; 0 when the file could not be read
  std::string message;
};

// Parses the text of an items file; false with *error filled at the first bad line.
bool ParseItems(const std::string& text, std::vector<KeyboardItemInfo>* items,
                ItemsFileError* error);
bool LoadItemsFile(const std::string& path, std::vector<KeyboardItemInfo>* items,
                   ItemsFileError* error);
