// Reading element files into the catalogue: counts, names, line ends, limits and bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "core/catalog.h"
#include "core/numeric.h"
#include "core/propagator.h"
#include "core/scratch_folder.h"
#include "core/text_encoding.h"
#include "test_support.h"

namespace zen {
namespace {

namespace fs = std::filesystem;
using test::Patched;

const std::string kIss1 = SelfTestSatellites[1].line1;
const std::string kIss2 = SelfTestSatellites[1].line2;

// A valid set with the given catalogue number, made from the near-earth self-test set.
TTleLines MakeSet(int number) {
  char field[8];
  std::snprintf(field, sizeof field, "%5d", number % 100000);
  return TTleLines{Patched(kIss1, 3, field), Patched(kIss2, 3, field)};
}

std::string ThreeLineText(int count, const std::string& eol, const std::string& between = "",
                          bool finalEol = true) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    TTleLines s = MakeSet(i);
    text += "SAT " + std::to_string(i) + eol + s.line1 + eol + s.line2;
    if (i < count || finalEol) text += eol;
    if (i < count) text += between;
  }
  return text;
}

class CatalogFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir_.empty()); }

  fs::path Write(const std::string& text, const std::string& name = "sats.tle") {
    fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << text;
    return p;
  }

  test::TScratchFolder folder_{"zen_catalog_"};
  const fs::path& dir_ = folder_.path();
  TCatalog catalog_;
};

TEST_F(CatalogFile, LineEndsAndBlankLinesReadTheSame) {
  struct Variant {
    const char* what;
    std::string text;
  };
  const Variant variants[] = {
      {"CR LF", ThreeLineText(5, "\r\n")},
      {"LF", ThreeLineText(5, "\n")},
      {"LF CR", ThreeLineText(5, "\n\r")},
      {"CR", ThreeLineText(5, "\r")},
      {"LF with blank lines", ThreeLineText(5, "\n", "\n\n")},
      {"CR LF with blank lines", ThreeLineText(5, "\r\n", "\r\n   \r\n")},
      {"LF CR with blank lines", ThreeLineText(5, "\n\r", "\n\r\n\r")},
      {"no final line end", ThreeLineText(5, "\n", "", false)},
      {"leading blank lines", "\n\n\r\n" + ThreeLineText(5, "\r\n")},
  };
  for (const Variant& v : variants) {
    TCatalog c;
    ASSERT_EQ(c.ReadElementFile(Write(v.text)), 5) << v.what;
    EXPECT_EQ(c.InvalidElementCount, 0) << v.what;
    for (int i = 1; i <= 5; ++i) {
      EXPECT_EQ(c.CatalogNames[i], "SAT " + std::to_string(i)) << v.what;
      EXPECT_EQ(c.CatalogElements[i].lines, MakeSet(i)) << v.what;
    }
  }
}

TEST_F(CatalogFile, FilesOfAnySizeLoadWhole) {
  for (int sets : {999, 1000, 1001, 1200}) {
    EXPECT_EQ(catalog_.ReadElementFile(Write(ThreeLineText(sets, "\r\n"))), sets);
    ASSERT_EQ(catalog_.CatalogNames.size(), static_cast<size_t>(sets) + 1);
    EXPECT_EQ(catalog_.CatalogNames[static_cast<size_t>(sets)], "SAT " + std::to_string(sets));
    EXPECT_EQ(catalog_.CatalogElements[static_cast<size_t>(sets)].lines, MakeSet(sets));
    EXPECT_EQ(catalog_.InvalidElementCount, 0);
  }
  // A set left over at the end is counted, not taken for more sets than could be held.
  EXPECT_EQ(catalog_.ReadElementFile(Write(ThreeLineText(1000, "\n") + "LEFT OVER\n")), 1000);
  EXPECT_EQ(catalog_.InvalidElementCount, 1);
}

TEST_F(CatalogFile, EverySetIsHandedOnInFileOrder) {
  const std::string text = ThreeLineText(1203, "\r\n") + "BROKEN\n1 x\n2 y\n";
  ASSERT_EQ(catalog_.ReadElementFile(Write(ThreeLineText(1, "\n"), "one.tle")), 1);
  catalog_.CatalogNames[1] = "KEPT";
  std::vector<std::string> names;
  int count =
      catalog_.ReadEverySet(Write(text), [&](const std::string& name, const TCatalogSet& set) {
        const TTleLines& lines = set.lines;
        EXPECT_EQ(lines, MakeSet(static_cast<int>(names.size()) + 1));
        names.push_back(name);
      });
  EXPECT_EQ(count, 1203);
  ASSERT_EQ(names.size(), 1203u);
  EXPECT_EQ(names.back(), "SAT 1203");
  EXPECT_EQ(catalog_.InvalidElementCount, 1);
  EXPECT_EQ(catalog_.CatalogNames[1], "KEPT");
}

TEST_F(CatalogFile, BareLinePairsGetNumberNames) {
  TTleLines five = MakeSet(5);
  TTleLines big = MakeSet(43013);
  std::string text = five.line1 + "\n" + five.line2 + "\n" + big.line1 + "\n" + big.line2 + "\n";
  ASSERT_EQ(catalog_.ReadElementFile(Write(text)), 2);
  EXPECT_EQ(catalog_.CatalogNames[1], "#00005");
  EXPECT_EQ(catalog_.CatalogNames[2], "#43013");
}

TEST_F(CatalogFile, LongNamesAreCutAndLinesTrimmed) {
  TTleLines s = MakeSet(7);
  std::string name30 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
  std::string text = "   " + name30 + "   \n" + s.line1 + "   \n" + s.line2 + " extra\n";
  ASSERT_EQ(catalog_.ReadElementFile(Write(text)), 1);
  EXPECT_EQ(catalog_.CatalogNames[1], name30.substr(0, 24));
  EXPECT_EQ(catalog_.CatalogElements[1].lines, s);
}

struct NameCase {
  const char* what;
  std::string line;  // the name line's bytes as stored in the file
  std::string name;  // the catalogue's UTF-8 name
};

// Names are converted to UTF-8 once, as they are read, and then cut to 24 characters between
// characters, so a cut never splits one and no later layer converts them again.
TEST_F(CatalogFile, NamesAreUtf8CutBetweenCharacters) {
  const std::string e = "\u00C9";  // É: two bytes in UTF-8, one (0xC9) in Windows-1252
  std::string a29;
  for (int i = 0; i < 29; ++i) a29 += e;
  const NameCase cases[] = {
      {"UTF-8, two bytes a character", "A" + a29, "A" + a29.substr(0, 23 * e.size())},
      {"UTF-8 of three bytes", std::string(22, 'S') + "\u20AC\u20AC\u20AC",
       std::string(22, 'S') + "\u20AC\u20AC"},
      {"Windows-1252", "CAF\xC9 \x80 \x93SAT\x94", "CAF\u00C9 \u20AC \u201CSAT\u201D"},
      {"a cut UTF-8 sequence is single-byte text", "AB\xC3", "AB\u00C3"},
  };
  for (const NameCase& c : cases) {
    TTleLines s = MakeSet(21);
    ASSERT_EQ(
        catalog_.ReadElementFile(Write(c.line + "\r\n" + s.line1 + "\r\n" + s.line2 + "\r\n")), 1)
        << c.what;
    const std::string& name = catalog_.CatalogNames[1];
    EXPECT_EQ(name, c.name) << c.what;
    EXPECT_TRUE(IsValidUtf8(name)) << c.what;
    EXPECT_EQ(ToUtf8(name), name) << c.what << ": converting again changes nothing";
  }
}

// Whether text holds a character that BlankControlCharacters would blank.
bool HoldsControl(const std::string& text) {
  return BlankControlCharacters(text) != text;
}

// Control characters in a name line become blanks before the name is cut, so the cut counts
// what is shown; bytes 0x80..0x9F of a single-byte file are the code page's printable
// characters, except its five unused places, which read as C1 controls.
TEST_F(CatalogFile, NameLinesLoseTheirControlCharacters) {
  const std::string e = "\u00C9";  // two bytes in UTF-8
  std::string longUtf8 = "AB";
  for (int i = 0; i < 200; ++i) longUtf8 += e;  // byte 255 of the line is the start of one
  const std::string cutUtf8 = longUtf8.substr(0, 2 + 22 * e.size());
  const NameCase cases[] = {
      {"an escape sequence", "\x1B[31mRED\x1B[0m SAT", "[31mRED [0m SAT"},
      {"NUL, BEL and DEL", std::string("SAT\0ONE\aTWO\x7F", 12), "SAT ONE TWO"},
      {"UTF-8 C1 controls", "SAT\u0085\u009B2J", "SAT  2J"},
      {"bidirectional override and isolate", "\u202EABC\u2066DEF\u202C", "ABC DEF"},
      {"Windows-1252 0x80..0x9F are printable", "SAT \x80\x85\x9B\x99",
       "SAT \u20AC\u2026\u203A\u2122"},
      {"Windows-1252 unused places are C1", "SAT\x81X\x8DY\x90\xE9", "SAT X Y \u00E9"},
      {"24 characters with a three-byte control inside", "ABCDEFGHIJK\u202ELMNOPQRSTUVW",
       "ABCDEFGHIJK LMNOPQRSTUVW"},
      {"30 characters, a two-byte control among the first 24",
       "ABCDEFGHIJKLMNOPQRS\u0085UVWXYZ0123", "ABCDEFGHIJKLMNOPQRS UVWX"},
      {"a UTF-8 line cut inside a character", longUtf8, cutUtf8},
      {"nothing shown but controls", "\u202E\u0085", "#00021"},
  };
  for (const NameCase& c : cases) {
    TTleLines s = MakeSet(21);
    ASSERT_EQ(catalog_.ReadElementFile(Write(c.line + "\n" + s.line1 + "\n" + s.line2 + "\n")), 1)
        << c.what;
    const std::string& name = catalog_.CatalogNames[1];
    EXPECT_EQ(name, c.name) << c.what;
    EXPECT_FALSE(HoldsControl(name)) << c.what;
    EXPECT_LE(Utf8Length(name), 24u) << c.what;
    EXPECT_EQ(catalog_.CatalogElements[1].lines, s) << c.what;
  }
}

// A message's name may hold what no name line can: line ends, each in its form's own notation.
TEST_F(CatalogFile, MessageNamesLoseTheirControlCharacters) {
  const NameCase cases[] = {
      {"stations_2026-05-30.csv", "\"ISS\r\n\x1B[2J\u202E(ZARYA)\"", "ISS   [2J (ZARYA)"},
      {"stations_2026-05-30.json", "ISS\\u001b[31m\\u0000\\u2028(ZARYA)\\u0085",
       "ISS [31m  (ZARYA)"},
      {"stations_2026-05-30.xml", "ISS&#x9;&#xD;&#xA;(ZARYA)\u202D", "ISS   (ZARYA)"},
      {"stations_2026-05-30.xml", "\u202E&#xA;", "#25544"},
  };
  for (const NameCase& c : cases) {
    std::string text = test::Bytes(test::ReferenceDataDir() / "omm" / c.what);
    const size_t at = text.find("ISS (ZARYA)");
    ASSERT_NE(at, std::string::npos) << c.what;
    text.replace(at, 11, c.line);
    ASSERT_GT(catalog_.ReadElementFile(Write(text, "message.txt")), 1) << c.what;
    EXPECT_NE(catalog_.FileKind, TElementTextKind::ElementLines) << c.what;
    ASSERT_EQ(catalog_.CatalogElements[1].number, 25544) << c.what;
    EXPECT_EQ(catalog_.CatalogNames[1], c.name) << c.what;
  }
}

TEST_F(CatalogFile, InvalidSetsAreCountedAndTheirSlotReused) {
  TTleLines good = MakeSet(11);
  TTleLines bad = MakeSet(12);
  bad.line1[68] = bad.line1[68] == '9' ? '0' : static_cast<char>(bad.line1[68] + 1);
  std::string text = "BAD\n" + bad.line1 + "\n" + bad.line2 + "\nGOOD\n" + good.line1 + "\n" +
                     good.line2 + "\nCUT OFF\n";
  ASSERT_EQ(catalog_.ReadElementFile(Write(text)), 1);
  EXPECT_EQ(catalog_.CatalogNames[1], "GOOD");
  EXPECT_EQ(catalog_.InvalidElementCount, 2);  // the bad checksum and the name without lines
}

TEST_F(CatalogFile, AReadReplacesEverySlot) {
  ASSERT_EQ(catalog_.ReadElementFile(Write(ThreeLineText(3, "\n"))), 3);
  ASSERT_EQ(catalog_.ReadElementFile(Write(ThreeLineText(1, "\n"), "one.tle")), 1);
  EXPECT_EQ(catalog_.CatalogNames.size(), 2u);
  EXPECT_EQ(catalog_.CatalogElements.size(), 2u);
  EXPECT_EQ(catalog_.CatalogFlags.size(), 2u);
}

TEST_F(CatalogFile, MissingFileGivesZeroAndResetsCounters) {
  ASSERT_EQ(catalog_.ReadElementFile(Write("X\n1\n2\n")), 0);
  EXPECT_EQ(catalog_.InvalidElementCount, 1);
  EXPECT_EQ(catalog_.ReadElementFile(dir_ / "absent.tle"), 0);
  EXPECT_EQ(catalog_.InvalidElementCount, 0);
}

TEST_F(CatalogFile, AFolderIsAnErrorForTheCaller) {
  EXPECT_THROW(catalog_.ReadElementFile(dir_), TFileError);
}

TEST_F(CatalogFile, MalformedInputNeverCrashesOrStoresASet) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 20; ++round) {
    std::string bytes(4096 + round * 997, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    TCatalog c;
    EXPECT_EQ(c.ReadElementFile(Write(bytes)), 0) << "round " << round;
  }
  const std::string odd[] = {
      "",
      "\n\n\n",
      "\r",
      "NAME ONLY",
      "NAME ONLY\n",
      std::string(100000, 'x'),
      "1 " + std::string(67, ' '),
      std::string("\0\0\0\n\0", 5),
  };
  for (const std::string& text : odd) {
    TCatalog c;
    EXPECT_EQ(c.ReadElementFile(Write(text)), 0);
  }
}

TEST(CatalogReference, EveryElementFileReadsCompletely) {
  fs::path data = test::ReferenceDataDir();
  struct Expected {
    const char* file;
    int sets;
  };
  const Expected files[] = {
      {"stations_2026-05-30.tle", 25},
      {"weather_2026-05-30.tle", 74},
      {"geo_2026-05-30.tle", 574},
      {"science_2026-05-30.tle", 49},
      {"starlink_2026-05-30.tle", 10395},
      {"visual_2026-02-11.tle", 149},
      {"gnss_2026-02-11.tle", 170},
      {"amateur_2025-04-29.tle", 84},
      {"gps-ops_2025-04-29.tle", 31},
      {"molniya_2023-06-28.tle", 35},
      {"iridium_gen1_celestrak_2008-04-22.tle", 92},
      {"iridium_gen1_celestrak_2014-09-18.tle", 92},
      {"iridium_gen1_celestrak_2016-02-17.tle", 92},
      {"iridium_gen1_celestrak_2017-10-22.tle", 90},
      {"iridium_gen1_2013-11-05_nostatus.tle", 92},
      {"iridium_gen1_2016-12-05_nostatus.tle", 92},
  };
  int seen = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(data / "tle")) {
    if (entry.path().extension() == ".tle") ++seen;
  }
  EXPECT_EQ(seen, static_cast<int>(std::size(files))) << "a reference file is not listed here";
  for (const Expected& f : files) {
    TCatalog c;
    int stored = c.ReadElementFile(data / "tle" / f.file);
    EXPECT_EQ(stored, f.sets) << f.file;
    EXPECT_EQ(c.InvalidElementCount, 0) << f.file;
    for (int i = 1; i <= stored; ++i) {
      ASSERT_TRUE(ElementSetValid(c.CatalogElements[i].lines)) << f.file << " slot " << i;
      ASSERT_FALSE(c.CatalogNames[i].empty()) << f.file << " slot " << i;
      ASSERT_LE(c.CatalogNames[i].size(), 24u);
    }
  }
}

TEST(CatalogReference, EveryReferenceSetDecodes) {
  fs::path data = test::ReferenceDataDir();
  for (const fs::directory_entry& entry : fs::directory_iterator(data / "tle")) {
    if (entry.path().extension() != ".tle") continue;
    TCatalog c;
    int stored = c.ReadElementFile(entry.path());
    for (int i = 1; i <= stored; ++i) {
      TElements e;
      try {
        LoadElements(c.CatalogElements[i].lines, e);
      } catch (const TElementError& error) {
        ADD_FAILURE() << entry.path().filename() << " " << c.CatalogNames[i] << ": "
                      << error.what();
        continue;
      }
      EXPECT_EQ(e.catalogNumber, CatalogNumberText(c.CatalogElements[i].lines));
      EXPECT_GT(e.epochJulian, 2450000.0);
      EXPECT_LT(e.epochJulian, 2470000.0);
      EXPECT_GE(e.eccentricity, 0.0);
      EXPECT_LT(e.eccentricity, 1.0);
      EXPECT_GT(e.apogeeHeightKm, e.perigeeHeightKm - 1e-9);
    }
  }
}

}  // namespace
}  // namespace zen

namespace zen {
namespace {

TEST(CatalogSample, TheShippedSampleFileIsCompleteAndValid) {
  TCatalog c;
  int stored = c.ReadElementFile(fs::path(ZEN_SOURCE_DIR) / "resources" / "Tle" / "sample.tle");
  EXPECT_EQ(stored, 35);
  EXPECT_EQ(c.InvalidElementCount, 0);
  EXPECT_EQ(c.CatalogNames[1], "ISS (ZARYA)");
  int deepSpace = 0;
  for (int i = 1; i <= stored; ++i) {
    TElements e;
    LoadElements(c.CatalogElements[i].lines, e);
    deepSpace += e.UseDeepSpace ? 1 : 0;
  }
  EXPECT_GE(deepSpace, 10);  // navigation and geostationary sets use the deep-space model
}

// Every message form of the renumbered sets fills the catalogue as their Alpha-5 lines do:
// the same numbers, names and positions, and the sets past the lines' reach whole.
TEST_F(CatalogFile, MessageFilesFillTheCatalogueAsTheirElementLinesDo) {
  const fs::path omm = test::ReferenceDataDir() / "omm";
  TCatalog lines;
  ASSERT_EQ(lines.ReadElementFile(omm / "renumbered_alpha5_2026-05-30.tle"), 10);
  for (const char* file :
       {"renumbered_2026-05-30.csv", "renumbered_2026-05-30.json", "renumbered_2026-05-30.xml"}) {
    SCOPED_TRACE(file);
    TCatalog c;
    ASSERT_EQ(c.ReadElementFile(omm / file), 20);
    EXPECT_NE(c.FileKind, TElementTextKind::ElementLines);
    EXPECT_EQ(c.InvalidElementCount, 0);
    EXPECT_EQ(c.CatalogElements[20].number, 340009);
    EXPECT_EQ(c.CatalogElements[20].elements.catalogNumber, "340009");
    for (size_t i = 1; i <= 10; ++i) {
      const TCatalogSet& fromMessage = c.CatalogElements[i];
      const TCatalogSet& fromLines = lines.CatalogElements[i];
      ASSERT_TRUE(fromMessage.decodable && fromLines.decodable);
      EXPECT_TRUE(fromMessage.lines.line1.empty());
      EXPECT_EQ(fromMessage.number, fromLines.number);
      EXPECT_EQ(fromMessage.elements.catalogNumber, fromLines.elements.catalogNumber);
      EXPECT_EQ(TrimBlanks(c.CatalogNames[i]), TrimBlanks(lines.CatalogNames[i]));
      TPropagator a;
      TPropagator b;
      a.LoadElements(fromMessage.elements);
      b.LoadElements(fromLines.elements);
      for (double minutes : {-1440.0, 0.0, 4320.0}) {
        TVector pa, va, pb, vb;
        ASSERT_EQ(a.PropagateMinutes(pa, va, minutes), TPropagationStatus::Ok);
        ASSERT_EQ(b.PropagateMinutes(pb, vb, minutes), TPropagationStatus::Ok);
        TPropagator::ScaleStateToKm(pa, va);
        TPropagator::ScaleStateToKm(pb, vb);
        EXPECT_LT(std::hypot(pa.x - pb.x, pa.y - pb.y, pa.z - pb.z), 1e-3) << i << " " << minutes;
      }
    }
  }
}

// A message of over a thousand sets: every valid one stored and handed on by ReadEverySet,
// the broken one counted, the one without a name named by its number.
TEST_F(CatalogFile, LongMessagesLoadWholeAndCountLikeElementFiles) {
  std::string csv =
      "\xEF\xBB\xBFOBJECT_NAME,OBJECT_ID,EPOCH,MEAN_MOTION,ECCENTRICITY,INCLINATION,"
      "RA_OF_ASC_NODE,ARG_OF_PERICENTER,MEAN_ANOMALY,EPHEMERIS_TYPE,CLASSIFICATION_TYPE,"
      "NORAD_CAT_ID,ELEMENT_SET_NO,REV_AT_EPOCH,BSTAR,MEAN_MOTION_DOT,MEAN_MOTION_DDOT\r\n";
  for (int i = 1; i <= 1203; ++i) {
    const std::string name = i == 2 ? "" : "\"SAT, " + std::to_string(i) + "\"";
    const std::string motion = i == 500 ? "NaN" : "15.5";
    csv += name + ",2026-001A,2026-05-30T12:00:00.000000," + motion +
           ",0.0001,51.6,10.0,20.0,30.0,0,U," + std::to_string(400000 + i) +
           ",999,100,0.0001,0.00001,0\r\n";
  }
  const fs::path file = Write(csv, "long.csv");
  EXPECT_EQ(catalog_.ReadElementFile(file), 1202);
  EXPECT_EQ(catalog_.InvalidElementCount, 1);
  EXPECT_EQ(catalog_.CatalogNames[1], "SAT, 1");
  EXPECT_EQ(catalog_.CatalogNames[2], "#400002");
  EXPECT_EQ(catalog_.CatalogElements[500].number, 400501);  // 400500 was left out
  std::vector<int64_t> numbers;
  EXPECT_EQ(
      catalog_.ReadEverySet(
          file, [&](const std::string&, const TCatalogSet& set) { numbers.push_back(set.number); }),
      1202);
  ASSERT_EQ(numbers.size(), 1202u);
  EXPECT_EQ(numbers.back(), 401203);
}

}  // namespace
}  // namespace zen
