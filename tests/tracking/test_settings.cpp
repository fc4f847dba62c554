// INI files and the settings files kept in them.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/scratch_folder.h"
#include "tracking/ini_file.h"
#include "tracking/settings.h"
#include "tracking/text_file.h"

namespace zen {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class SettingsFolder : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(home_.empty()); }
  void Put(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }
  std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  test::TScratchFolder folder_{"zen_settings_"};
  const fs::path& home_ = folder_.path();
  const fs::path file_ = home_ / "default.ini";
};

TEST(SettingsNumbers, RoundsHalvesToEvenWithinInt64) {
  const struct {
    double value;
    int64_t rounded;
  } cases[] = {{2.5, 2}, {-2.5, -2}, {3.5, 4},   {-3.5, -4},        {0.5, 0},
               {1.5, 2}, {2.49, 2},  {-0.6, -1}, {1e30, INT64_MAX}, {-1e30, INT64_MIN}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEvenInt(c.value), c.rounded) << c.value;
}

TEST_F(SettingsFolder, IniWritesKeepTheFileAndItsOrder) {
  Put(file_, "; kept\r\n[Main]\r\n key = old \r\nkey=second\r\n\r\n[Other]\r\nx=1\r\n");
  TIniFile ini = TIniFile::Read(file_);
  EXPECT_EQ(ini.ReadString("MAIN", "Key", "-"), "old");
  EXPECT_EQ(ini.ReadString("Main", "x", "-"), "-");
  ini.WriteString("main", "KEY", "new");
  ini.WriteInteger("Main", "added", -2);
  ini.WriteBool("New", "k", true);
  ini.Save(file_);
  EXPECT_EQ(Bytes(file_),
            "; kept\r\n[Main]\r\nKEY=new\r\nkey=second\r\nadded=-2\r\n\r\n[Other]\r\nx=1\r\n"
            "\r\n[New]\r\nk=1\r\n");
}

// Every key of a named settings file in the order it is written, the text of its default, a
// value just outside its accepted range and one on its edge ("" where there is no range).
struct TKeyRow {
  const char* section;
  const char* key;
  const char* defaultText;
  const char* outside;
  const char* edge;
};
constexpr TKeyRow kKeys[] = {
    {"Extra", "OnlySats", "0", "", ""},
    {"Time", "System", "1", "2", "0"},
    {"Time", "RefreshC", "1", "6", "5"},
    {"Time", "IntervalM", "3", "8", "7"},
    {"Time", "IntervalU", "1", "-1", "5"},
    {"Time", "Panel", "1", "", ""},
    {"TLE_DB", "TLEFile", "", "", ""},
    {"TLE_DB", "Active", "", "", ""},
    {"TLE_DB", "Tracked", "", "", ""},
    {"Location", "File", "Locations\\World.loc", "", ""},
    {"Location", "Name", "Torun", "", ""},
    {"Location", "Sign", "Torun", "", ""},
    {"Location", "Lon", "186107", "1800001", "-1800000"},
    {"Location", "Lat", "530217", "-900001", "900000"},
    {"Location", "Alt", "50", "", "-1200000"},  // outside: its own case below
    {"Show", "Sun", "1", "", ""},
    {"Show", "SolarIllum", "1", "", ""},
    {"Show", "Grid", "0", "", ""},
    {"Show", "Hints", "1", "", ""},
    {"Show", "SatSymb", "1", "", ""},
    {"Show", "SatColors", "1", "", ""},
    {"Show", "SatNames", "1", "", ""},
    {"Show", "TrackLine", "1", "", ""},
    {"Show", "TrackMarkers", "1", "", ""},
    {"Show", "VisibleZone", "1", "", ""},
    {"SatOnTrack", "Pos", "0", "3", "2"},
    {"SatOnTrack", "AutoMid", "1", "", ""},
    {"SatOnTrack", "AutoBeg", "1", "", ""},
    {"Radar", "On", "2", "-1", "0"},
    {"Radar", "Names", "1", "", ""},
    {"Radar", "Line", "1", "", ""},
    {"Radar", "Markers", "1", "", ""},
    {"Passes", "Brief", "0", "", ""},
    {"Passes", "CAL", "0", "", ""},
    {"Passes", "Level", "0", "5", "4"},
    {"Passes", "PeriodM", "1", "0", "99"},
    {"Passes", "PeriodK", "2", "3", "0"},
    {"Passes", "SatIllum", "1", "", ""},
    {"Passes", "SunUnderH", "1", "", ""},
    {"Passes", "SatAbove", "10", "46", "45"},
    {"Passes", "MaxSun", "-5", "-21", "-20"},
    {"Passes", "InternalIrTable", "1", "", ""},
    {"Passes", "IrFlareAngle", "100", "401", "10"},
};

// A file of the table's keys, each with the text the column gives (its default where empty).
std::string KeyFile(const char* TKeyRow::*column) {
  std::string text;
  std::string section;
  for (const TKeyRow& row : kKeys) {
    if (row.section != section) {
      text += (section.empty() ? "[" : "\r\n[") + std::string(row.section) + "]\r\n";
      section = row.section;
    }
    const char* value = *(row.*column) != '\0' ? row.*column : row.defaultText;
    text += std::string(row.key) + "=" + value + "\r\n";
  }
  return text;
}

TEST_F(SettingsFolder, AFreshInstallationGetsEveryDocumentedDefault) {
  const TSettings fresh = ReadSettings(home_ / "Setup" / "default.ini");
  EXPECT_EQ(fresh, TSettings{});
  EXPECT_EQ(fresh.site.name, "Torun");
  EXPECT_EQ(fresh.site.latitude, 53.0217);
  EXPECT_EQ(fresh.site.longitude, 18.6107);
  EXPECT_EQ(fresh.site.altitude, 5.0);
  EXPECT_EQ(fresh.site.locator, "JO93ha");
  EXPECT_EQ(fresh.show.radarMode, TRadarMode::Auto);
  EXPECT_TRUE(fresh.tleFile.empty() && fresh.trackedIds.empty());
  WriteSettings(file_, fresh, TSaveChoice::SatellitesAndOptions);
  EXPECT_EQ(Bytes(file_), KeyFile(&TKeyRow::defaultText));
}

// A file from before the Moon option reads as off and is written back as it was; once chosen,
// its key stands after "VisibleZone" and reads back.
TEST_F(SettingsFolder, TheMoonKeyRoundTripsAndAnOldFileReadsAsOff) {
  const std::string old = KeyFile(&TKeyRow::defaultText);
  Put(file_, old);
  TSettings s = ReadSettings(file_);
  EXPECT_FALSE(s.show.moon);
  for (const char* line : {"", "Moon=1\r\n", "Moon=0\r\n"}) {
    s.show.moon = *line != '\0' && line[5] == '1';
    WriteSettings(file_, s, TSaveChoice::SatellitesAndOptions);
    std::string expected = old;
    expected.insert(expected.find("VisibleZone=1\r\n") + 15, line);
    EXPECT_EQ(Bytes(file_), expected) << line;
    EXPECT_EQ(ReadSettings(file_), s) << line;
  }
}

TEST_F(SettingsFolder, ValuesOutsideTheirRangesGiveDefaultsAndEdgesAreKept) {
  Put(file_, KeyFile(&TKeyRow::outside));
  EXPECT_EQ(ReadSettings(file_), TSettings{});
  Put(file_, KeyFile(&TKeyRow::edge));
  WriteSettings(file_, ReadSettings(file_), TSaveChoice::SatellitesAndOptions);
  EXPECT_EQ(Bytes(file_), KeyFile(&TKeyRow::edge));
  // An altitude out of range falls back to 50 m, a missing one to 5 m.
  Put(file_, "[Location]\r\nAlt=1000001\r\nLat=950000\r\n");
  EXPECT_EQ(ReadSettings(file_).site.altitude, 50.0);
  EXPECT_EQ(ReadSettings(file_).site.latitude, 53.0217);
}

TEST_F(SettingsFolder, EveryChangedValueSurvivesARoundTrip) {
  TSettings s;
  s.timeSystem = 0;
  s.refreshIndex = 5;
  s.jumpMultiplier = 7;
  s.jumpUnit = 4;
  s.timePanel = false;
  s.tleFile = "Tle\\visual.tle";
  s.activeId = "25544";
  s.trackedIds = {"25544", "20580", "00005"};
  s.locationFile = "Locations/Europe.loc";
  s.site = {"Zielona G\u00F3ra, Lubuskie, PL",
            "Zielona G\u00F3ra Lubuskie",
            "",
            -73.987654,
            -40.123449,
            12.25};
  s.show = {false,
            false,
            true,
            false,
            false,
            false,
            false,
            false,
            false,
            false,
            TSatOnTrack::End,
            false,
            false,
            TRadarMode::Off,
            false,
            false,
            false};
  s.prediction = {true, true, 4, 42, 0, false, false, 45, 20, false, 2.125};
  WriteSettings(file_, s, TSaveChoice::OnlySatellites);
  const TIniFile ini = TIniFile::Read(file_);
  EXPECT_EQ(ini.ReadString("TLE_DB", "Tracked", ""), "25544,20580,00005");
  EXPECT_EQ(ini.ReadString("Location", "Alt", ""), "122");  // 122.5 to even
  EXPECT_EQ(ini.ReadString("Passes", "IrFlareAngle", ""), "212");

  TSettings expected = s;
  expected.onlySats = true;
  expected.site = {
      "Zielona G\u00F3ra, Lubuskie, P", "Zielona G\u00F3ra Lu", "FE39av", -73.9877, -40.1234, 12.2};
  expected.prediction.maxFlareAngleDeg = 2.12;
  EXPECT_EQ(ReadSettings(file_), expected);
}

TEST_F(SettingsFolder, OnlyOptionsEmptiesTheSatellitesAndUnknownKeysStay) {
  Put(file_, "; mine\r\n[Time]\r\nFuture=7\r\n[Plugins]\r\nx=y\r\n");
  TSettings s;
  s.tleFile = "Tle/a.tle";
  s.activeId = "5";
  s.trackedIds = {"5"};
  WriteSettings(file_, s, TSaveChoice::OnlyOptions);
  const TIniFile ini = TIniFile::Read(file_);
  for (const char* key : {"TLEFile", "Active", "Tracked"}) {
    EXPECT_EQ(ini.ReadString("TLE_DB", key, "missing"), "") << key;
  }
  EXPECT_EQ(ini.ReadString("Time", "Future", ""), "7");
  EXPECT_EQ(ini.ReadString("Plugins", "x", ""), "y");
  EXPECT_EQ(Bytes(file_).rfind("; mine\r\n[Time]\r\nFuture=7\r\nSystem=1\r\n", 0), 0u);
  EXPECT_FALSE(ReadSettings(file_).onlySats);
}

TEST_F(SettingsFolder, AFailedSaveKeepsThePreviousFileAndNamesIt) {
  WriteSettings(file_, TSettings{}, TSaveChoice::SatellitesAndOptions);
  const std::string previous = Bytes(file_);
  fs::create_directory(home_ / "default.ini.tmp");
  TSettings changed;
  changed.timeSystem = 0;
  try {
    WriteSettings(file_, changed, TSaveChoice::SatellitesAndOptions);
    ADD_FAILURE() << "no error";
  } catch (const TFileError& e) {
    EXPECT_NE(std::string(e.what()).find(file_.string()), std::string::npos) << e.what();
  }
  EXPECT_EQ(Bytes(file_), previous);
}

// Each damaged file reads as the clean file of what can be read from it; the rest is default.
TEST_F(SettingsFolder, BadInputLoadsDefaultsForWhatCannotBeRead) {
  const std::string x25(25, 'x');
  const struct {
    const char* name;
    std::string bytes;
    std::string clean;
  } cases[] = {
      {"keys without sections", "System=0\r\nLat=0\r\n", ""},
      {"text where numbers belong",
       "[Time]\nSystem=local\nRefreshC=2.0\nIntervalM= 5 \n[Location]\nLat=1e5\nLon=+100000\n"
       "[Passes]\nMaxSun=--3\nSatAbove=99999999999999999999\nPeriodM=\n",
       "[Time]\nIntervalM=5\n[Location]\nLon=100000\n"},
      {"duplicate keys and sections", "[time]\nSYSTEM=0\nSystem=1\n[Extra]\n[ Time ]\nRefreshC=4\n",
       "[Time]\nSystem=0\nRefreshC=4\n"},
      {"a 100 000-character line", "[Location]\nName=" + std::string(100000, 'x') + "\nSign=y\n",
       "[Location]\nName=" + x25 + "\nSign=y\n"},
      {"binary bytes", "\0\xFF\x01\n[Time]\n\x80\x81=\x02\nSystem=0\n\0\n"s, "[Time]\nSystem=0\n"},
      {"a byte-order mark", "\xEF\xBB\xBF[Time]\r\nSystem=0\r\n", "[Time]\nSystem=0\n"},
      {"two byte-order marks", "\xEF\xBB\xBF\xEF\xBB\xBF[Time]\r\nSystem=0\r\n",
       "[Time]\nSystem=0\n"},
      {"CR-only line ends", "[Time]\rSystem=0\rRefreshC=4\r", "[Time]\nSystem=0\nRefreshC=4\n"},
      {"no \"=\" and empty names",
       "[Time]\nSystem\n=0\n[]\nRefreshC=4\n[Time\nIntervalM=6\n[Time]\nIntervalU=2\n",
       "[Time]\nIntervalU=2\n"},
  };
  const fs::path clean = home_ / "clean.ini";
  for (const auto& c : cases) {
    Put(file_, c.bytes);
    Put(clean, c.clean);
    const TSettings read = ReadSettings(file_);
    EXPECT_EQ(read, ReadSettings(clean)) << c.name;
    EXPECT_EQ(read == TSettings{}, c.clean.empty()) << c.name;
  }
}

// Inputs the fuzzer found: what a file says must not change when it is saved, neither as it
// was read nor with the settings read from it written back.
TEST_F(SettingsFolder, SavedFilesReadAsTheyWereRead) {
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      // Cut at 25 characters, the name ended in bytes that a read trims.
      {"a name cut before zero bytes",
       "[Location]\nName=Gda\xC5\0\0"
       "0\0uD\0\0\0\0"
       "0\0\0\0\0\0\0\0\0\0\0"
       "0"s},
      {"a name cut after a blank", "[Location]\nName=" + std::string(24, 'n') + " tail\n"},
      {"a sign cut after a blank", "[Location]\nSign=" + std::string(14, 's') + " \t tail\n"},
      // Saved as read, the second mark came first and the next read dropped it.
      {"two byte-order marks", "\xEF\xBB\xBF\xEF\xBB\xBF[]"},
      {"three byte-order marks before keys",
       "\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF[Time]\nSystem=0\n"},
  };
  const fs::path saved = home_ / "saved.ini";
  for (const auto& c : cases) {
    Put(file_, c.bytes);
    const TIniFile ini = TIniFile::Read(file_);
    const TSettings read = ReadSettings(file_);
    fs::remove(saved);
    ini.Save(saved);
    EXPECT_EQ(TIniFile::Read(saved).SectionNames(), ini.SectionNames()) << c.name;
    EXPECT_EQ(ReadSettings(saved), read) << c.name;
    WriteSettings(saved, read, TSaveChoice::SatellitesAndOptions);
    EXPECT_EQ(ReadSettings(saved), read) << c.name;
  }
}

TEST_F(SettingsFolder, MainFileOffsetAndAutoSave) {
  const fs::path main = home_ / "zenarith.set";
  const struct {
    const char* bytes;  // nullptr: no file
    double detected;
    TMainSettings read;
  } cases[] = {
      {nullptr, 2.0, {false, 2.0}},
      {nullptr, 0.125, {false, 0.12}},  // 12.5 hundredths to even
      {"[Main]\r\nUTC=550\r\nAutoSave=1\r\n", 0.0, {true, 5.5}},
      {"[main]\r\nutc=-1200\r\n", 3.0, {false, -12.0}},
      {"[Main]\r\nUTC=1201\r\n", 3.0, {false, 3.0}},
      {"[Main]\r\nUTC=abc\r\nAutoSave=yes\r\n", -4.5, {false, -4.5}},
  };
  for (const auto& c : cases) {
    fs::remove(main);
    if (c.bytes != nullptr) Put(main, c.bytes);
    EXPECT_EQ(ReadMainSettings(main, c.detected), c.read) << (c.bytes ? c.bytes : "no file");
  }
  Put(main, "[Main]\r\nOther=7\r\n");
  WriteMainSettings(main, {true, -9.5});
  EXPECT_EQ(Bytes(main), "[Main]\r\nOther=7\r\nAutoSave=1\r\nUTC=-950\r\n");
  EXPECT_EQ(ReadMainSettings(main, 0.0), (TMainSettings{true, -9.5}));
}

// The mark of a start adds its key and keeps every other line of the file.
TEST_F(SettingsFolder, MarkingAStartKeepsTheMainFile) {
  const fs::path main = home_ / "zenarith.set";
  Put(main, "; mine\r\n[Station]\r\nRotator=1\r\n[Main]\r\nAutoSave=1\r\n");
  MarkStarted(main);
  EXPECT_EQ(Bytes(main),
            "; mine\r\n[Station]\r\nRotator=1\r\n[Main]\r\nAutoSave=1\r\nStarted=1\r\n");
  EXPECT_TRUE(ReadMainSettings(main, 0.0).startedBefore);
}

// The exit names what "default" would lose; every field of the file belongs to one change.
TEST(SettingsChanges, NameWhatDiffersFromTheSavedState) {
  const TSettings saved;
  const struct {
    const char* what;
    void (*change)(TSettings&);
    std::vector<std::string> named;
  } cases[] = {
      {"nothing", [](TSettings&) {}, {}},
      {"the mark only", [](TSettings& s) { s.onlySats = true; }, {}},
      {"site", [](TSettings& s) { s.site.latitude = 50.0; }, {"the site"}},
      {"database", [](TSettings& s) { s.locationFile = "Locations/Mine.loc"; }, {"the site"}},
      {"file", [](TSettings& s) { s.tleFile = "Tle/other.tle"; }, {"the element file"}},
      {"order", [](TSettings& s) { s.trackedIds = {"2", "1"}; }, {"the tracked satellites"}},
      {"active", [](TSettings& s) { s.activeId = "25544"; }, {"the active satellite"}},
      {"flare angle", [](TSettings& s) { s.prediction.maxFlareAngleDeg = 2.0; }, {"the options"}},
      {"all at once",
       [](TSettings& s) {
         s.site.name = "Elsewhere";
         s.tleFile = "x";
         s.trackedIds = {"1"};
         s.activeId = "1";
         s.timePanel = false;
       },
       {"the site", "the element file", "the tracked satellites", "the active satellite",
        "the options"}},
  };
  for (const auto& c : cases) {
    TSettings now = saved;
    c.change(now);
    EXPECT_EQ(SettingsChanges(saved, now), c.named) << c.what;
  }
}

TEST(SettingsNames, FileOfANameAndNameOfAChosenFile) {
  EXPECT_EQ(SettingsFilePath("/opt/zen", "default"), fs::path("/opt/zen/Setup/default.ini"));
  EXPECT_EQ(SettingsNameOf("/elsewhere/my.settings.ini"), "my");
  EXPECT_EQ(SettingsNameOf("foo"), "foo");
  EXPECT_EQ(std::string(kMainSettingsFile), "Setup/zenarith.set");
}

}  // namespace
}  // namespace zen
