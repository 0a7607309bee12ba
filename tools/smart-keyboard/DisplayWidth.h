// How many terminal columns a text takes: what lines up the columns of the results table.
#pragma once

#include <string>

// East Asian wide and full-width characters (Chinese characters, full-width letters and digits,
// most emoji) take two columns, combining marks and zero-width characters none, everything else
// one. Surrogate pairs count as the one character they encode.
int DisplayWidth(const std::wstring& text);
