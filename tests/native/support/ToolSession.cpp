#include "ToolSession.h"

#include <gtest/gtest.h>

LoadCounts LoadItemsText(SearchSession& session, const std::string& text, bool fullPinyin) {
  ItemsSource source(text.data(), text.size());
  LoadOptions options;
  options.fullPinyin = fullPinyin;
  LoadCounts counts;
  ItemsFileError error;
  EXPECT_TRUE(session.Load(source, options, &counts, &error))
      << error.line << ": " << error.message;
  return counts;
}
