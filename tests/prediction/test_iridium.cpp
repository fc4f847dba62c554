// The Iridium status table read from its file, and the labels of a flare's satellite.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>

#include "core/scratch_folder.h"
#include "prediction/iridium.h"
#include "test_support.h"

namespace zen {
namespace {

TIridiumTable TableOf(const std::string& text) {
  test::TScratchFolder folder("zen_iridium_");
  const std::filesystem::path file = folder.path() / "flares.dat";
  std::ofstream(file, std::ios::binary) << text;
  return zapodawajIridiums(file);
}

// Each line of the file: what it holds, and the row it gives (none when catalogNumber is 0).
struct TLineCase {
  const char* what;
  const char* line;
  TIridiumData row;
};

class IridiumFileLine : public testing::TestWithParam<TLineCase> {};

TEST_P(IridiumFileLine, GivesItsRowOrNone) {
  const TLineCase& c = GetParam();
  // Between two good rows, so a line read wrongly cannot hide behind the end of the file.
  const TIridiumTable table = TableOf(" 24792 + 8\n" + std::string(c.line) + "\n 27451 S 98\n");
  const size_t rows = c.row.catalogNumber == 0 ? 2 : 3;
  ASSERT_EQ(table.size(), rows);
  EXPECT_EQ(table.front().catalogNumber, 24792);
  EXPECT_EQ(table.back().catalogNumber, 27451);
  EXPECT_EQ(table.back().label, "98");
  if (rows == 3) {
    EXPECT_EQ(table[1].catalogNumber, c.row.catalogNumber);
    EXPECT_EQ(table[1].statusMark, c.row.statusMark);
    EXPECT_EQ(table[1].label, c.row.label);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IridiumFileLine,
    testing::Values(
        TLineCase{"comment", "# 24793 + 7 a comment that looks like a row", {}},
        TLineCase{"nine characters", " 24793 +7", {}},
        TLineCase{"ten characters", " 24793 + 7", {24793, '+', "7"}},
        TLineCase{"blank number columns", "       + 7", {}},
        TLineCase{"letters in the number", " 2479x + 7", {}},
        TLineCase{"negative number", "-24793 + 7", {}},
        TLineCase{"leading blanks", "    17 - 17", {17, '-', "17"}},
        // Blanks count as zeros wherever they stand, so a number written to the left grows.
        TLineCase{"number written to the left", "24793  + 7", {247930, '+', "7"}},
        TLineCase{"six digits", "123456 P Iridium 7", {123456, 'P', "Iridium 7"}},
        TLineCase{"CR LF line end", " 24793 + 7  \r", {24793, '+', "7"}},
        TLineCase{"mark outside ASCII", " 24793 \xE9 7", {24793, '?', "7"}},
        TLineCase{"label from a single-byte system",
                  " 24793 + Iridium \xE9t\xE9",
                  {24793, '+', "Iridium \xC3\xA9t\xC3\xA9"}},
        // A label is printed in reports and CSV as a name is: no control character reaches
        // them.
        TLineCase{
            "escape sequence and a trailing bell", " 24793 + 7\x1B[2J\a", {24793, '+', "7 [2J"}},
        TLineCase{"UTF-8 C1 control and override", " 24793 + 7\u009B\u202E9", {24793, '+', "7  9"}},
        TLineCase{"single-byte 0x9B is printable, 0x8D unused",
                  " 24793 + 7\x9B\x8D"
                  "9",
                  {24793, '+', "7\u203A 9"}}),
    [](const testing::TestParamInfo<TLineCase>& info) {
      std::string name = info.param.what;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

TEST(IridiumTable, KeepsTheFirstHundredRowsAndAtMost255CharactersOfALabel) {
  std::string text = "# a table longer than the program keeps\n";
  for (int n = 1; n <= 101; ++n) {
    std::string number = std::to_string(n);
    text += std::string(6 - number.size(), ' ') + number + " + " + number + "\n";
    if (n == 50) text += "\n   \n";  // blank lines count for nothing
  }
  TIridiumTable table = TableOf(text);
  ASSERT_EQ(table.size(), kIridiumTableCapacity);
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].catalogNumber, static_cast<int32_t>(i + 1));
    EXPECT_EQ(table[i].label, std::to_string(i + 1));
  }
  EXPECT_FALSE(IsIridium(table, 101));

  // 300 characters, the 255th two bytes long: the label stops after it, never inside it.
  const std::string label = std::string(254, 'x') + "\xC3\xA9" + std::string(45, 'y');
  table = TableOf(" 24793 + " + label);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table[0].label, label.substr(0, 256));
}

TEST(IridiumTable, IsEmptyWithoutAFile) {
  test::TScratchFolder folder("zen_iridium_");
  EXPECT_TRUE(zapodawajIridiums(folder.path() / "none.dat").empty());
  // A folder where the file should be cannot be read either.
  EXPECT_TRUE(zapodawajIridiums(folder.path()).empty());
}

// The table shipped with the program: every row readable, no number twice, and the Iridiums of
// the reference element sets of its date in it with the status marks of their names.
TEST(IridiumTable, ShippedTableListsTheIridiumsOfItsDate) {
  const TIridiumTable table = zapodawajIridiums(std::filesystem::path(ZEN_SOURCE_DIR) /
                                                "resources" / "Data" / "flares.dat");
  ASSERT_EQ(table.size(), 90u);
  for (size_t i = 0; i < table.size(); ++i) {
    for (size_t j = 0; j < i; ++j) EXPECT_NE(table[i].catalogNumber, table[j].catalogNumber);
  }
  const std::filesystem::path dir = test::ReferenceDataDir();
  std::ifstream in(dir / "tle" / "iridium_gen1_celestrak_2014-09-18.tle");
  std::string name;
  std::string line1;
  std::string line2;
  int iridiums = 0;
  while (std::getline(in, name) && std::getline(in, line1) && std::getline(in, line2)) {
    // "IRIDIUM 7 [+]": the label is the Iridium number, the mark the one in brackets.
    const int32_t number = std::stoi(line1.substr(2, 5));
    const size_t open = name.find('[');
    if (name.rfind("IRIDIUM ", 0) != 0) {
      EXPECT_FALSE(IsIridium(table, number)) << name;
      continue;
    }
    ++iridiums;
    SCOPED_TRACE(name);
    ASSERT_TRUE(IsIridium(table, number));
    EXPECT_EQ(IridiumLabel(table, name, number, true),
              name.substr(8, open - 9) + " " + name.substr(open + 1, 1));
  }
  EXPECT_EQ(iridiums, 90);
}

struct TLabelCase {
  const char* name;
  int64_t catalogNumber;
  bool useTable;
  const char* label;
};

TEST(IridiumLabel, TableLabelAndMarkOrTheNameWithoutIridium) {
  const TIridiumTable table = {{24870, '-', "17"}, {24793, '+', "7"}, {24793, 'S', "second"}};
  for (const TLabelCase& c : {
           TLabelCase{"IRIDIUM 17", 24870, true, "17 -"},
           TLabelCase{"IRIDIUM 17", 24870, false, "17"},
           TLabelCase{"Iridium 7", 24793, true, "7 +"},  // the first row of a number counts
           TLabelCase{"Iridium 17", 99999, true, "17"},  // not in the table: from the name
           TLabelCase{"iridium 17 [-]", 24870, false, "17 [-]"},
           // Each form is removed once, the one with the blank first.
           TLabelCase{"IRIDIUM IRIDIUM IRIDIUM 5", 1, false, " IRIDIUM 5"},
           TLabelCase{"XIRIDIUM", 1, false, "X"},
           TLabelCase{"DUMMY MASS 1", 24925, true, "DUMMY MASS 1"},
           TLabelCase{"Iridium \xC3\xA9", 1, false, "\xC3\xA9"},  // UTF-8 stays whole
       }) {
    EXPECT_EQ(IridiumLabel(table, c.name, c.catalogNumber, c.useTable), c.label)
        << c.name << (c.useTable ? " with" : " without") << " the table";
  }
  EXPECT_TRUE(IsIridium(table, 24793));
  EXPECT_FALSE(IsIridium(table, 0));
  EXPECT_FALSE(IsIridium({}, 24793));
}

}  // namespace
}  // namespace zen
