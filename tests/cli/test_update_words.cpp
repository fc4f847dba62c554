// The update command's words: which combinations are taken and which are refused.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/update_words.h"

namespace zen::cli {
namespace {

TEST(UpdateWords, SourcesOrOneAddressButNotBoth) {
  TUpdateWords w;
  ASSERT_EQ(ParseUpdateWords(
                {"--home", "/h", "--source", "a", "--source=b", "--force", "--timeout", "5"}, w),
            "");
  EXPECT_EQ(w.home, "/h");
  EXPECT_EQ(w.sources, (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(w.force);
  EXPECT_EQ(w.timeoutSeconds, 5);
  const std::vector<std::vector<std::string>> bad = {
      {"--url", "http://h/x"},
      {"--output", "x.tle"},
      {"--url", "http://h/x", "--output", "x.tle", "--source", "a"},
      {"--url", "http://h/x", "--output", "x.tle", "--force"},
      {"--timeout", "0"},
      {"--timeout", "3601"},
      {"--source"},
      {"--source="},
      {"stations"},
      {"--sources", "a"},
  };
  for (const auto& args : bad) {
    TUpdateWords ignored;
    EXPECT_NE(ParseUpdateWords(args, ignored), "") << ::testing::PrintToString(args);
  }
}

TEST(UpdateWords, AMistakeExitsWithTwoBeforeAnyFetch) {
  std::ostringstream out, err;
  EXPECT_EQ(RunUpdate({"--url", "http://h/x"}, out, err), 2);
  EXPECT_NE(err.str().find("--url and --output go together"), std::string::npos);
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace zen::cli
