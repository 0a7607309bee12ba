// A tool's search session loaded from the text of an items file, for the tools' tests.
#pragma once

#include <string>

#include "tools/common/SearchSession.h"

// Loads text into session, with or without the full-pinyin aliases; a refusal fails the test.
LoadCounts LoadItemsText(SearchSession& session, const std::string& text, bool fullPinyin);
