// A trader's typing, made from the registered items with a fixed seed so that every run types
// the same: codes, initials and names of real items, a backspace and its correction now and
// then, and the navigation keys a trader uses to pick from the list.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "frame/KeyboardItemInfo.h"

struct Keystroke {
  unsigned vk;       // the key-down's virtual key
  wchar_t ch;        // the character that follows it, 0 for a key without one
  bool startsQuery;  // Escape and a fresh pop-up come before it
};

std::vector<Keystroke> MakeKeystrokeScript(const std::vector<KeyboardItemInfo>& items,
                                           size_t atLeast);
