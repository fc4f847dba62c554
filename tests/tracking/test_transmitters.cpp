// Transmitter lists: the shipped file, entries that must be refused, the order a satellite's
// transmitters are offered in, and their one-line texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/scratch_folder.h"
#include "tracking/text_file.h"
#include "tracking/transmitters.h"

namespace zen {
namespace {

constexpr int64_t kStation = 25544;

std::filesystem::path ShippedFile() {
  return std::filesystem::path(ZEN_SOURCE_DIR) / "resources" / kTransmittersFile;
}

// A sound entry as the export writes it, with keys replaced or added; an empty value leaves the
// key out.
std::string Entry(std::initializer_list<std::pair<std::string, std::string>> changes = {}) {
  std::vector<std::pair<std::string, std::string>> fields = {
      {"uuid", "\"a1\""},
      {"description", "\"Mode V/U FM\""},
      {"alive", "true"},
      {"type", "\"Transceiver\""},
      {"uplink_low", "145990000"},
      {"uplink_high", "null"},
      {"downlink_low", "437800000"},
      {"downlink_high", "null"},
      {"mode", "\"FM\""},
      {"invert", "false"},
      {"baud", "null"},
      {"norad_cat_id", "25544"},
      {"status", "\"active\""},
  };
  for (const auto& [key, value] : changes) {
    auto field =
        std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == key; });
    if (field == fields.end()) {
      fields.emplace_back(key, value);
    } else {
      field->second = value;
    }
  }
  std::string text;
  for (const auto& [key, value] : fields) {
    if (value.empty()) continue;
    text += (text.empty() ? "{\"" : ", \"") + key + "\": " + value;
  }
  return text + "}";
}

TEST(Transmitters, TheShippedListIsSoundAndHasTheStationsRadios) {
  const TTransmitterList list = ReadTransmitters(ShippedFile());
  EXPECT_EQ(list.problem, "");
  EXPECT_EQ(list.invalid, 0);
  ASSERT_GE(list.items.size(), 10u);
  std::set<std::string> uuids;
  for (const TTransmitter& t : list.items) {
    EXPECT_TRUE(uuids.insert(t.uuid).second) << "uuid used twice: " << t.uuid;
    EXPECT_FALSE(t.description.empty()) << t.uuid;
    // Transponders need both passbands of equal width, or pairing would run off the uplink.
    if (t.type == "Transponder") {
      ASSERT_TRUE(t.uplinkLowHz && t.uplinkHighHz && t.downlinkLowHz && t.downlinkHighHz)
          << t.description;
      EXPECT_EQ(*t.uplinkHighHz - *t.uplinkLowHz, *t.downlinkHighHz - *t.downlinkLowHz)
          << t.description;
    }
  }
  const std::vector<TTransmitter> station = TransmittersOf(list, {}, kStation);
  std::set<int64_t> downlinks;
  for (const TTransmitter& t : station) {
    if (t.downlinkLowHz) downlinks.insert(*t.downlinkLowHz);
  }
  EXPECT_EQ(downlinks, (std::set<int64_t>{145'800'000, 145'825'000, 437'800'000}));
}

TEST(Transmitters, UnusableEntriesAreCountedAndSkipped) {
  const struct {
    const char* what;
    std::string entry;
  } cases[] = {
      {"no catalogue number", Entry({{"norad_cat_id", ""}})},
      {"catalogue number 0", Entry({{"norad_cat_id", "0"}})},
      {"negative catalogue number", Entry({{"norad_cat_id", "-5"}})},
      {"catalogue number as text", Entry({{"norad_cat_id", "\"25544\""}})},
      {"catalogue number with a fraction", Entry({{"norad_cat_id", "25544.5"}})},
      {"catalogue number past 64 bits", Entry({{"norad_cat_id", "18446744073709551615"}})},
      {"no frequency at all", Entry({{"uplink_low", "null"}, {"downlink_low", ""}})},
      {"frequency as text", Entry({{"downlink_low", "\"437800000\""}})},
      {"frequency 0", Entry({{"downlink_low", "0"}})},
      {"negative frequency", Entry({{"uplink_low", "-145990000"}})},
      {"frequency above 300 GHz", Entry({{"downlink_low", "300000000001"}})},
      {"frequency with a fraction", Entry({{"downlink_low", "437800000.5"}})},
      {"uplink low above its high", Entry({{"uplink_high", "145980000"}})},
      {"downlink high without its low",
       Entry({{"downlink_high", "437900000"}, {"downlink_low", "null"}})},
      {"alive as text", Entry({{"alive", "\"yes\""}})},
      {"invert as a number", Entry({{"invert", "1"}})},
      {"description as a number", Entry({{"description", "7"}})},
      {"mode as a list", Entry({{"mode", "[\"FM\"]"}})},
      {"type as an object", Entry({{"type", "{}"}})},
      {"baud as text", Entry({{"baud", "\"1200\""}})},
      {"negative baud", Entry({{"baud", "-9600"}})},
      {"not an object", "[25544]"},
      {"a bare number", "25544"},
  };
  for (const auto& c : cases) {
    const std::string text =
        "[" + Entry() + ", " + c.entry + ", " + Entry({{"uuid", "\"a2\""}}) + "]";
    const TTransmitterList list = ParseTransmitters(text);
    EXPECT_EQ(list.problem, "") << c.what;
    EXPECT_EQ(list.invalid, 1) << c.what << ": " << c.entry;
    ASSERT_EQ(list.items.size(), 2u) << c.what;
    EXPECT_EQ(list.items[0].uuid, "a1") << c.what;
    EXPECT_EQ(list.items[1].uuid, "a2") << c.what;
  }
}

// Each key lands in its own field (the texts show them all), null and missing keys take the
// defaults, whole numbers may carry a zero fraction, and unknown keys are passed over.
TEST(Transmitters, SoundEntriesKeepTheirValuesAndDefaults) {
  const TTransmitterList list = ParseTransmitters("[" + Entry() + "," + R"(
      {"norad_cat_id": 7530.0, "type": "Transponder", "uplink_low": 432125000,
       "uplink_high": 432175000, "downlink_low": 145925000, "downlink_high": 145975000.0,
       "invert": true, "baud": 45.45, "alive": false, "mode": null, "uuid": 17,
       "description": null, "extra": {"nested": [1, 2]}},
      {"norad_cat_id": 43017, "uplink_low": 435250000}])");
  EXPECT_EQ(list.invalid, 0);
  ASSERT_EQ(list.items.size(), 3u);
  EXPECT_EQ(TransmitterText(list.items[0]),
            "Mode V/U FM \u2014 FM, down 437.800 MHz, up 145.990 MHz");
  EXPECT_EQ(TransmitterText(list.items[1]),
            "Transponder \u2014 down 145.925\u2013145.975 MHz, up 432.125\u2013432.175 MHz, "
            "inverting, 45.45 Bd, not active");
  EXPECT_EQ(TransmitterText(list.items[2]), "Transmitter \u2014 up 435.250 MHz");
  EXPECT_EQ(list.items[0].noradId, kStation);
  EXPECT_EQ(list.items[1].noradId, 7530);
  EXPECT_EQ(list.items[0].uuid, "a1");
  EXPECT_EQ(list.items[1].uuid, "");  // not text: dropped, the entry kept
  EXPECT_TRUE(list.items[2].alive);
}

TEST(Transmitters, ATextThatIsNoArrayGivesAProblemAndNothingElse) {
  const struct {
    std::string text;
    bool problem;
  } cases[] = {
      {"", false},
      {" \r\n\t", false},
      {"[]", false},
      {"\xEF\xBB\xBF[" + Entry() + "]", false},  // a byte-order mark is no problem
      {Entry(), true},                           // one object, not a list
      {"\"transmitters\"", true},
      {"null", true},
      {"[" + Entry() + ", " + Entry(), true},  // cut short: nothing of it taken
      {"[" + Entry() + "] trailing", true},
      {"<html>502 Bad Gateway</html>", true},
  };
  for (const auto& c : cases) {
    const TTransmitterList list = ParseTransmitters(c.text);
    EXPECT_EQ(!list.problem.empty(), c.problem) << c.text << " -> " << list.problem;
    if (c.problem) {
      EXPECT_TRUE(list.items.empty()) << c.text;
    }
  }
}

TEST(Transmitters, AMissingFileIsAnEmptyListAndAnUnreadableOneThrows) {
  test::TScratchFolder folder("zen_transmitters_");
  ASSERT_FALSE(folder.path().empty());
  const TTransmitterList missing = ReadTransmitters(folder.path() / "my_transmitters.json");
  EXPECT_TRUE(missing.items.empty());
  EXPECT_EQ(missing.problem, "");
  EXPECT_THROW(ReadTransmitters(folder.path()), TFileError);

  std::ofstream(folder.path() / "list.json") << "[" << Entry() << "]";
  EXPECT_EQ(ReadTransmitters(folder.path() / "list.json").items.size(), 1u);
}

TEST(Transmitters, TheUsersOwnComeFirstAndThoseNotAliveLast) {
  auto make = [](int64_t id, const char* uuid, bool alive) {
    TTransmitter t;
    t.noradId = id;
    t.uuid = uuid;
    t.alive = alive;
    t.downlinkLowHz = 145'800'000;
    return t;
  };
  TTransmitterList shipped;
  shipped.items = {make(kStation, "s1", true), make(kStation, "s2", false),
                   make(27607, "o1", true),    make(kStation, "s3", true),
                   make(kStation, "s4", true), make(kStation, "", true)};
  TTransmitterList user;
  user.items = {make(kStation, "u1", false), make(27607, "o2", true), make(kStation, "u2", true),
                make(kStation, "s4", true)};  // the user's correction of s4

  std::vector<std::string> order;
  std::vector<bool> own;
  for (const TTransmitter& t : TransmittersOf(shipped, user, kStation)) {
    order.push_back(t.uuid);
    own.push_back(t.userOwn);
    EXPECT_EQ(t.noradId, kStation);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"u2", "s4", "s1", "s3", "", "u1", "s2"}));
  EXPECT_EQ(own, (std::vector<bool>{true, true, false, false, false, true, false}));
  EXPECT_TRUE(TransmittersOf(shipped, user, 99999).empty());
}

// Beyond the texts above: a passband of one frequency, more decimals where the frequency has
// them, and the baud rate.
TEST(Transmitters, TextsShowEveryDigitOfTheFrequency) {
  TTransmitter apt;
  apt.downlinkLowHz = 137'912'500;
  apt.downlinkHighHz = 137'912'500;
  apt.alive = false;
  EXPECT_EQ(TransmitterText(apt), "Transmitter \u2014 down 137.9125 MHz, not active");
  TTransmitter packet;
  packet.description = "Packet";
  packet.downlinkLowHz = 29'400'001;
  packet.baud = 1200;
  EXPECT_EQ(TransmitterText(packet), "Packet \u2014 down 29.400001 MHz, 1200 Bd");
  EXPECT_EQ(MegahertzText(1'000), "0.001");
  EXPECT_EQ(MegahertzText(10'368'100'000), "10368.100");
  EXPECT_EQ(MegahertzText(-600'000), "-0.600");
}

}  // namespace
}  // namespace zen
