// The queries the tools search for, as they read them from their arguments, a file or standard
// input. A query is one line of the output's format, so a tab, a line break or another control
// character in it is refused rather than echoed: the component's input edit never lets one
// through, and a consumer of the output could no longer tell where the query ends.
#pragma once

#include <string>
#include <vector>

// Why a query cannot be searched, or empty when it can: a control character (U+0000-U+001F,
// U+007F-U+009F), named.
std::string QueryRefusal(const std::string& query);

// Splits text into lines: LF or CR LF ends a line, the last line needs no end, and a byte-order
// mark at the very start is skipped.
std::vector<std::string> SplitLines(const std::string& text);

// Strips the byte-order mark from the first line read from a stream, if it starts with one.
void SkipByteOrderMark(std::string* firstLine);
