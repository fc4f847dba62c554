// Catalogue numbers in five columns: the digit form, the Alpha-5 edges and refused texts.
#include <gtest/gtest.h>

#include "core/alpha5.h"

namespace zen {
namespace {

TEST(Alpha5, EdgesReadAndWriteBothWays) {
  struct TCase {
    const char* columns;
    int32_t number;
  };
  // Each letter's range follows the previous one without a gap where I and O are left out.
  const TCase cases[] = {
      {"00000", 0},      {"00005", 5},      {"25544", 25544},  {"99999", 99999},  {"A0000", 100000},
      {"A0001", 100001}, {"B0000", 110000}, {"H9999", 179999}, {"J0000", 180000}, {"N9999", 229999},
      {"P0000", 230000}, {"Z9990", 339990}, {"Z9999", 339999},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.columns);
    EXPECT_EQ(CatalogNumberOfColumns(c.columns), c.number);
    EXPECT_EQ(ColumnsOfCatalogNumber(c.number), std::string(c.columns));
  }
}

TEST(Alpha5, EveryNumberRoundTripsInOrder) {
  // Columns compared as text sort in number order within each form, and every number comes back.
  std::string previous;
  for (int32_t n = 100000; n <= kLargestFiveColumnNumber; n += 7) {
    std::optional<std::string> columns = ColumnsOfCatalogNumber(n);
    ASSERT_TRUE(columns.has_value()) << n;
    ASSERT_EQ(CatalogNumberOfColumns(*columns), n);
    ASSERT_LT(previous, *columns);
    previous = *columns;
  }
}

TEST(Alpha5, BlanksCountAsZerosInTheDigitForm) {
  EXPECT_EQ(CatalogNumberOfColumns(" 5544"), 5544);
  EXPECT_EQ(CatalogNumberOfColumns("   12"), 12);
  EXPECT_EQ(CatalogNumberOfColumns("1 2 3"), 10203);
  EXPECT_EQ(CatalogNumberOfColumns("     "), 0);
}

TEST(Alpha5, RefusesOtherTexts) {
  for (const char* text : {"I0000", "O1234", "a0000", "z9999", "#1234", "-1234", "A123 ", "AB123",
                           "1234", "123456", "", "12a45", "A 123",
                           "\x80"
                           "1234"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(CatalogNumberOfColumns(text).has_value());
  }
  for (int64_t n : {-1LL, 340000LL, 999999LL}) {
    EXPECT_FALSE(ColumnsOfCatalogNumber(n).has_value()) << n;
  }
}

TEST(CatalogNumbers, UsersTextsAndTheShownForm) {
  struct TCase {
    const char* text;
    std::optional<int64_t> number;
    const char* shown;  // CatalogNumberText of the number
  };
  const TCase cases[] = {
      {"5", 5, "00005"},
      {"00005", 5, "00005"},
      {" 25544 ", 25544, "25544"},
      {"99999", 99999, "99999"},
      {"100000", 100000, "100000"},
      {"A0000", 100000, "100000"},
      {"N9999", 229999, "229999"},
      {"P0000", 230000, "230000"},
      {"Z9999", 339999, "339999"},
      {"340005", 340005, "340005"},
      {"999999999", 999999999, "999999999"},
      {"1000000000", std::nullopt, ""},
      {"a0000", std::nullopt, ""},
      {"I0000", std::nullopt, ""},
      {"-5", std::nullopt, ""},
      {"", std::nullopt, ""},
      {"12 34", std::nullopt, ""},
      {"00012", 12, "00012"},
      {"1e5", std::nullopt, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CatalogNumberOfText(c.text), c.number);
    if (c.number) {
      EXPECT_EQ(CatalogNumberText(*c.number), c.shown);
    }
  }
  // Whatever is shown reads back as the same number.
  for (int64_t n = 0; n <= kLargestCatalogNumber; n = n * 3 + 1) {
    ASSERT_EQ(CatalogNumberOfText(CatalogNumberText(n)), n);
  }
}

}  // namespace
}  // namespace zen
