// Mean-elements messages: the reference files in all three encodings against their element
// lines (numbers, fields and positions), and malformed texts.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/alpha5.h"
#include "core/catalog.h"
#include "core/numeric.h"
#include "core/omm.h"
#include "core/propagator.h"
#include "tests/test_support.h"

namespace zen {
namespace {

constexpr double kOneMetreKm = 0.001;
// The element lines carry the epoch's day to 1e-8; the messages were written from them.
constexpr double kEpochDayTolerance = 1e-9;
constexpr double kDaysAroundEpoch[] = {-3.0, -1.25, 0.0, 0.5, 1.75, 3.0};

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::pair<std::string, TTleLines>> ElementLineSets(const std::filesystem::path& path) {
  std::vector<std::pair<std::string, TTleLines>> sets;
  TCatalog catalog;
  catalog.ReadEverySet(path, [&](const std::string& name, const TCatalogSet& set) {
    const TTleLines& lines = set.lines;
    sets.emplace_back(TrimBlanks(name), lines);
  });
  EXPECT_EQ(catalog.InvalidElementCount, 0) << path;
  return sets;
}

// Both sets propagate to the same place, to the metre, over several days either side.
void ExpectSamePositions(const TElements& fromMessage, const TElements& fromLines) {
  TPropagator message, lines;
  message.LoadElements(fromMessage);
  lines.LoadElements(fromLines);
  for (double days : kDaysAroundEpoch) {
    TVector p1{}, v1{}, p2{}, v2{};
    double jd = fromLines.epochJulian + days;
    ASSERT_EQ(message.Propagate(p1, v1, jd), TPropagationStatus::Ok);
    ASSERT_EQ(lines.Propagate(p2, v2, jd), TPropagationStatus::Ok);
    TPropagator::ScaleStateToKm(p1, v1);
    TPropagator::ScaleStateToKm(p2, v2);
    TVector d = VecSub(p1, p2);
    VecMagnitude(d);
    EXPECT_LT(d.w, kOneMetreKm) << "day " << days;
    EXPECT_GT(p1.w, kEarthRadiusKm);
  }
}

void ExpectSameSet(const TOmmSet& set, const std::string& name, const TTleLines& lines) {
  TElements expected;
  LoadElements(lines, expected);
  const TElements& got = set.elements;
  SCOPED_TRACE(name);
  EXPECT_EQ(set.name, name);
  EXPECT_EQ(set.catalogNumber, CatalogNumberOfText(CatalogNumberText(lines)));
  EXPECT_EQ(got.catalogNumber, expected.catalogNumber);
  EXPECT_EQ(got.designator, expected.designator);
  EXPECT_EQ(got.launchYear, expected.launchYear);
  EXPECT_EQ(got.elementSetNumber, expected.elementSetNumber);
  EXPECT_EQ(got.revolutionNumber, expected.revolutionNumber);
  EXPECT_EQ(got.UseDeepSpace, expected.UseDeepSpace);
  EXPECT_TRUE(got.ModelInitPending);
  EXPECT_NEAR(got.epoch, expected.epoch, kEpochDayTolerance);
  EXPECT_NEAR(got.epochJulian, expected.epochJulian, kEpochDayTolerance);
  EXPECT_NEAR(got.meanMotionDot2, expected.meanMotionDot2, 1e-15);
  EXPECT_NEAR(got.bstar, expected.bstar, 1e-12);
  EXPECT_NEAR(got.semiMajorAxisKm, expected.semiMajorAxisKm, 1e-6);
  ExpectSamePositions(got, expected);
}

TEST(OmmReferenceFiles, ReadWithTheirCountsAndMatchTheirElementLines) {
  std::filesystem::path dir = test::ReferenceDataDir();
  auto stations = ElementLineSets(dir / "tle" / "stations_2026-05-30.tle");
  ASSERT_EQ(stations.size(), 25u);
  const std::pair<const char*, TElementTextKind> files[] = {
      {"stations_2026-05-30.csv", TElementTextKind::Csv},
      {"stations_2026-05-30.json", TElementTextKind::Json},
      {"stations_2026-05-30.xml", TElementTextKind::Xml},
  };
  for (const auto& [file, kind] : files) {
    SCOPED_TRACE(file);
    TOmmReadResult read = ReadOmmText(FileText(dir / "omm" / file));
    EXPECT_EQ(read.kind, kind);
    EXPECT_EQ(read.invalidCount, 0);
    ASSERT_EQ(read.sets.size(), stations.size());
    for (size_t i = 0; i < stations.size(); ++i) {
      ExpectSameSet(read.sets[i], stations[i].first, stations[i].second);
    }
  }
}

TEST(OmmReferenceFiles, RenumberedSetsMatchTheirAlpha5Lines) {
  std::filesystem::path dir = test::ReferenceDataDir();
  auto alpha5 = ElementLineSets(dir / "omm" / "renumbered_alpha5_2026-05-30.tle");
  ASSERT_EQ(alpha5.size(), 10u);
  for (const char* file :
       {"renumbered_2026-05-30.csv", "renumbered_2026-05-30.json", "renumbered_2026-05-30.xml"}) {
    SCOPED_TRACE(file);
    TOmmReadResult read = ReadOmmText(FileText(dir / "omm" / file));
    EXPECT_EQ(read.invalidCount, 0);
    ASSERT_EQ(read.sets.size(), 20u);
    for (size_t i = 0; i < read.sets.size(); ++i) {
      EXPECT_EQ(read.sets[i].catalogNumber, 339990 + static_cast<int64_t>(i));
      if (i < alpha5.size()) {
        ExpectSameSet(read.sets[i], alpha5[i].first, alpha5[i].second);
      } else {
        // Beyond the five columns' reach the number is kept whole.
        EXPECT_EQ(read.sets[i].elements.catalogNumber, std::to_string(339990 + i));
      }
    }
  }
}

// One good set as field name and value; the bad cases change or drop one field.
const std::vector<std::pair<std::string, std::string>> kGoodSet = {
    {"OBJECT_NAME", "ISS (ZARYA)"},
    {"OBJECT_ID", "1998-067A"},
    {"EPOCH", "2026-05-30T12:25:10.468992"},
    {"MEAN_MOTION", "15.49496548"},
    {"ECCENTRICITY", "0.0007245"},
    {"INCLINATION", "51.6337"},
    {"RA_OF_ASC_NODE", "27.5746"},
    {"ARG_OF_PERICENTER", "114.708"},
    {"MEAN_ANOMALY", "245.4664"},
    {"NORAD_CAT_ID", "25544"},
    {"ELEMENT_SET_NO", "999"},
    {"REV_AT_EPOCH", "56901"},
    {"BSTAR", "0.00021767"},
    {"MEAN_MOTION_DOT", "0.00011776"},
    {"MEAN_MOTION_DDOT", "0.0"},
};

// The good set with field set to value ("-" drops the field).
std::vector<std::pair<std::string, std::string>> Changed(const std::string& field,
                                                         const std::string& value) {
  auto set = kGoodSet;
  for (auto it = set.begin(); it != set.end(); ++it) {
    if (it->first != field) continue;
    if (value == "-")
      set.erase(it);
    else
      it->second = value;
    break;
  }
  return set;
}

std::string CsvQuoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string Csv(const std::vector<std::vector<std::pair<std::string, std::string>>>& sets) {
  std::string text;
  for (size_t i = 0; i < kGoodSet.size(); ++i) text += (i ? "," : "") + kGoodSet[i].first;
  for (const auto& set : sets) {
    text += "\r\n";
    for (size_t i = 0; i < set.size(); ++i) text += (i ? "," : "") + CsvQuoted(set[i].second);
  }
  return text + "\r\n";
}

// Numbers go into JSON as numbers, anything else as a string.
bool ParseRealForTest(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789.-+eE") == std::string::npos;
}

std::string JsonObject(const std::vector<std::pair<std::string, std::string>>& set) {
  std::string text = "{";
  for (const auto& [key, value] : set) {
    bool number = ParseRealForTest(value);
    text += (text.size() > 1 ? "," : "") + ("\"" + key + "\":") +
            (number ? value : "\"" + value + "\"");
  }
  return text + "}";
}

std::string XmlOmm(const std::vector<std::pair<std::string, std::string>>& set) {
  std::string meta, mean, tle;
  for (const auto& [key, value] : set) {
    std::string item = "<" + key + ">" + value + "</" + key + ">";
    if (key == "OBJECT_NAME" || key == "OBJECT_ID")
      meta += item;
    else if (key == "NORAD_CAT_ID" || key == "ELEMENT_SET_NO" || key == "REV_AT_EPOCH" ||
             key.rfind("BSTAR", 0) == 0 || key.rfind("MEAN_MOTION_D", 0) == 0)
      tle += item;
    else
      mean += item;
  }
  return "<omm><body><segment><metadata>" + meta + "</metadata><data><meanElements>" + mean +
         "</meanElements><tleParameters>" + tle + "</tleParameters></data></segment></body></omm>";
}

struct TBadCase {
  const char* what;
  std::string text;
  size_t valid;
  int invalid;
};

TEST(OmmMalformed, LoadsWhatIsValidAndCountsTheRest) {
  const auto good = kGoodSet;
  const std::string goodXml = XmlOmm(good);
  const std::string goodJson = JsonObject(good);
  const TBadCase cases[] = {
      {"csv good with a byte-order mark", "\xEF\xBB\xBF" + Csv({good, good}), 2, 0},
      {"csv missing column", Csv({good, Changed("BSTAR", "-")}), 1, 1},
      {"csv text for a number", Csv({Changed("MEAN_MOTION", "fifteen"), good}), 1, 1},
      {"csv NaN", Csv({Changed("ECCENTRICITY", "NaN"), good}), 1, 1},
      {"csv infinity", Csv({Changed("INCLINATION", "inf")}), 0, 1},
      {"csv eccentricity 1", Csv({Changed("ECCENTRICITY", "1.0")}), 0, 1},
      {"csv inclination 200", Csv({Changed("INCLINATION", "200")}), 0, 1},
      {"csv mean motion 0", Csv({Changed("MEAN_MOTION", "0")}), 0, 1},
      {"csv number too large", Csv({Changed("NORAD_CAT_ID", "1000000000")}), 0, 1},
      {"csv negative number", Csv({Changed("NORAD_CAT_ID", "-5")}), 0, 1},
      {"csv fractional number", Csv({Changed("NORAD_CAT_ID", "25544.5")}), 0, 1},
      {"csv 30 February", Csv({Changed("EPOCH", "2026-02-30T00:00:00")}), 0, 1},
      {"csv hour 24", Csv({Changed("EPOCH", "2026-05-30T24:00:00")}), 0, 1},
      {"csv second 60", Csv({Changed("EPOCH", "2026-05-30T23:59:60")}), 0, 1},
      {"csv year past the two digits", Csv({Changed("EPOCH", "2057-01-01T00:00:00")}), 0, 1},
      {"csv epoch cut", Csv({Changed("EPOCH", "2026-05-30T12:2")}), 0, 1},
      {"csv unterminated quote", Csv({good}) + "\"ISS,1998", 1, 1},
      {"csv header only", Csv({}), 0, 0},
      {"json not an array", "{\"OBJECT_NAME\": 5}", 0, 1},
      {"json non-objects in the array", "[1, \"x\", [], " + goodJson + "]", 1, 3},
      {"json truncated", "[" + goodJson + "," + goodJson.substr(0, 60), 1, 1},
      {"json only a bracket", "[", 0, 1},
      {"json NaN as a string", "[" + JsonObject(Changed("BSTAR", "NaN")) + "]", 0, 1},
      {"json number given as text",
       "[" + JsonObject(Changed("EPOCH", "2026-150T12:25:10Z")) + "," + goodJson + "]", 2, 0},
      {"xml without omm", "<ndm><other/></ndm>", 0, 1},
      {"xml missing group", "<ndm>" + goodXml + "<omm><body/></omm></ndm>", 1, 1},
      {"xml truncated inside a value", "<ndm>" + goodXml + goodXml.substr(0, 200), 1, 1},
      {"xml not well formed", "<ndm><omm>", 0, 1},
      {"element lines", "ISS\n1 25544U\n2 25544\n", 0, 0},
      {"empty", "", 0, 0},
  };
  for (const TBadCase& c : cases) {
    SCOPED_TRACE(c.what);
    TOmmReadResult read = ReadOmmText(c.text);
    EXPECT_EQ(read.sets.size(), c.valid);
    EXPECT_EQ(read.invalidCount, c.invalid);
    for (const TOmmSet& set : read.sets) {
      EXPECT_EQ(set.catalogNumber, 25544);
      EXPECT_EQ(set.name, "ISS (ZARYA)");
    }
  }
}

TEST(OmmFields, QuotedNamesFullPrecisionAndSixDigitNumbers) {
  auto set = Changed("OBJECT_NAME", "DEB \"A, B\"");
  for (auto& [key, value] : set) {
    if (key == "MEAN_MOTION") value = "15.4949654812345";
    if (key == "NORAD_CAT_ID") value = "999999999";
  }
  TOmmReadResult read = ReadOmmText(Csv({set}));
  ASSERT_EQ(read.sets.size(), 1u);
  const TOmmSet& got = read.sets[0];
  EXPECT_EQ(got.name, "DEB \"A, B\"");
  EXPECT_EQ(got.catalogNumber, 999999999);
  EXPECT_EQ(got.elements.catalogNumber, "999999999");
  // Digits beyond the element lines' eight decimals are kept.
  EXPECT_NEAR(got.elements.meanMotion * kMinutesPerDay / kTwoPi, 15.4949654812345, 1e-12);
}

}  // namespace
}  // namespace zen
