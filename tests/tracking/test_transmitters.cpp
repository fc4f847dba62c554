// Transmitter lists: the shipped file, entries that must be refused, the order a satellite's
// transmitters are offered in, and their one-line texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tracking/text_file.h"
#include "tracking/transmitters.h"

namespace zen {
namespace {

using namespace std::string_literals;
constexpr int64_t kStation = 25544;

// A sound entry as the export writes it, with a key the reader passes over first.
const std::string kEntry =
    R"({"status": "active", "uuid": "a1", "description": "Mode V/U FM", "alive": true,)"
    R"( "type": "Transceiver", "uplink_low": 145990000, "uplink_high": null,)"
    R"( "downlink_low": 437800000, "downlink_high": null, "mode": "FM", "invert": false,)"
    R"( "baud": null, "norad_cat_id": 25544})";

// entry with one key changed as "key=value" says: its value replaced, or the key added; an empty
// value leaves the key out.
std::string Changed(const std::string& change, const std::string& entry = kEntry) {
  const std::string key = change.substr(0, change.find('=')), value = change.substr(key.size() + 1);
  const std::regex field(", \"" + key + "\": [^,}]*");
  const std::string replacement = value.empty() ? "" : ", \"" + key + "\": " + value;
  if (std::regex_search(entry, field)) return std::regex_replace(entry, field, replacement);
  return entry.substr(0, entry.size() - 1) + replacement + "}";
}

TEST(Transmitters, TheShippedListIsSoundAndHasTheStationsRadios) {
  const std::filesystem::path resources = std::filesystem::path(ZEN_SOURCE_DIR) / "resources";
  const TTransmitterList list = ReadTransmitters(resources / kTransmittersFile);
  EXPECT_EQ(list.problem, "");
  EXPECT_EQ(list.invalid, 0);
  ASSERT_GE(list.items.size(), 10u);
  std::set<std::string> uuids;
  for (const TTransmitter& t : list.items) {
    EXPECT_TRUE(uuids.insert(t.uuid).second) << "uuid used twice: " << t.uuid;
    EXPECT_FALSE(t.description.empty()) << t.uuid;
    // Transponders need both passbands of equal width, or pairing would run off the uplink.
    if (t.type != "Transponder") continue;
    ASSERT_TRUE(t.uplinkLowHz && t.uplinkHighHz && t.downlinkLowHz && t.downlinkHighHz) << t.uuid;
    EXPECT_EQ(*t.uplinkHighHz - *t.uplinkLowHz, *t.downlinkHighHz - *t.downlinkLowHz) << t.uuid;
  }
  std::set<int64_t> downlinks;
  for (const TTransmitter& t : TransmittersOf(list, {}, kStation)) {
    if (t.downlinkLowHz) downlinks.insert(*t.downlinkLowHz);
  }
  EXPECT_EQ(downlinks, (std::set<int64_t>{145'800'000, 145'825'000, 437'800'000}));
  // The user's own list may be missing; one that cannot be read is an error.
  EXPECT_TRUE(ReadTransmitters(resources / kUserTransmittersFile).items.empty());
  EXPECT_THROW(ReadTransmitters(resources), TFileError);
}

TEST(Transmitters, UnusableEntriesAreCountedAndSkippedAndATextThatIsNoArrayGivesNothing) {
  std::vector<std::string> bad = {"[25544]", "25544",
                                  Changed("uplink_low=null", Changed("downlink_low=")),
                                  Changed("downlink_high=437900000", Changed("downlink_low="))};
  for (const char* change :
       {"norad_cat_id=", "norad_cat_id=0", "norad_cat_id=-5", "norad_cat_id=\"25544\"",
        "norad_cat_id=25544.5", "norad_cat_id=18446744073709551615", "downlink_low=\"437800000\"",
        "downlink_low=0", "uplink_low=-145990000", "downlink_low=300000000001",
        "downlink_low=437800000.5", "uplink_high=145980000", "alive=\"yes\"", "invert=1",
        "description=7", "mode=[\"FM\"]", "type={}", "baud=\"1200\"", "baud=-9600"}) {
    bad.push_back(Changed(change));
  }
  for (const std::string& entry : bad) {
    const TTransmitterList list =
        ParseTransmitters("[" + kEntry + ", " + entry + ", " + Changed("uuid=\"a2\"") + "]");
    EXPECT_EQ(list.problem, "") << entry;
    EXPECT_EQ(list.invalid, 1) << entry;
    ASSERT_EQ(list.items.size(), 2u) << entry;
    EXPECT_EQ(list.items[0].uuid + list.items[1].uuid, "a1a2") << entry;
  }
  for (const std::string& text :
       {kEntry, "\"transmitters\""s, "null"s, "[" + kEntry + ", " + kEntry,
        "[" + kEntry + "] trailing", "<html>502 Bad Gateway</html>"s}) {
    const TTransmitterList list = ParseTransmitters(text);
    EXPECT_NE(list.problem, "") << text;
    EXPECT_TRUE(list.items.empty()) << text;
  }
  // Blanks are an empty list, and a byte-order mark no problem.
  for (const std::string& text : {""s, " \r\n\t"s, "[]"s, "\xEF\xBB\xBF[" + kEntry + "]"}) {
    EXPECT_EQ(ParseTransmitters(text).problem, "") << text;
  }
}

// Each key lands in its own field (the texts show them all), null and missing keys take the
// defaults, whole numbers may carry a zero fraction, unknown keys are passed over, and the texts
// give every digit of a frequency.
TEST(Transmitters, SoundEntriesKeepTheirValues) {
  const TTransmitterList list = ParseTransmitters("[" + kEntry + "," + R"(
      {"norad_cat_id": 7530.0, "type": "Transponder", "uplink_low": 432125000,
       "uplink_high": 432175000, "downlink_low": 145925000, "downlink_high": 145975000.0,
       "invert": true, "baud": 45.45, "alive": false, "mode": null, "uuid": 17,
       "description": null, "extra": {"nested": [1, 2]}},
      {"norad_cat_id": 43017, "uplink_low": 435250000},
      {"norad_cat_id": 1, "downlink_low": 137912500, "downlink_high": 137912500, "alive": false},
      {"norad_cat_id": 1, "description": "Packet", "downlink_low": 29400001, "baud": 1200}])");
  EXPECT_EQ(list.invalid, 0);
  std::vector<std::string> texts;
  for (const TTransmitter& t : list.items) texts.push_back(TransmitterText(t));
  EXPECT_EQ(texts,
            (std::vector<std::string>{"Mode V/U FM \u2014 FM, down 437.800 MHz, up 145.990 MHz",
                                      "Transponder \u2014 down 145.925\u2013145.975 MHz, up "
                                      "432.125\u2013432.175 MHz, inverting, 45.45 Bd, not active",
                                      "Transmitter \u2014 up 435.250 MHz",
                                      "Transmitter \u2014 down 137.9125 MHz, not active",
                                      "Packet \u2014 down 29.400001 MHz, 1200 Bd"}));
  ASSERT_EQ(list.items.size(), 5u);
  EXPECT_EQ(list.items[0].noradId, kStation);
  EXPECT_EQ(list.items[1].noradId, 7530);
  EXPECT_EQ(list.items[0].uuid + "|" + list.items[1].uuid, "a1|");  // not text: dropped
  EXPECT_EQ(MegahertzText(1'000) + " " + MegahertzText(10'368'100'000), "0.001 10368.100");
}

TEST(Transmitters, TheUsersOwnComeFirstAndThoseNotAliveLast) {
  // Uuids starting with "o" belong to another satellite, those ending in "-" are not alive.
  auto make = [](std::initializer_list<std::string> uuids) {
    TTransmitterList list;
    for (const std::string& uuid : uuids) {
      TTransmitter& t = list.items.emplace_back();
      t.noradId = uuid.starts_with('o') ? 27607 : kStation;
      t.uuid = uuid;
      t.alive = !uuid.ends_with('-');
    }
    return list;
  };
  const TTransmitterList shipped = make({"s1", "s2-", "o1", "s3", "s4", ""});
  const TTransmitterList user = make({"u1-", "o2", "u2", "s4"});  // the user's s4 corrects it
  std::vector<std::string> order;
  for (const TTransmitter& t : TransmittersOf(shipped, user, kStation)) {
    order.push_back((t.userOwn ? "+" : "") + t.uuid);
    EXPECT_EQ(t.noradId, kStation);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"+u2", "+s4", "s1", "s3", "", "+u1-", "s2-"}));
  EXPECT_TRUE(TransmittersOf(shipped, user, 99999).empty());
}

}  // namespace
}  // namespace zen
