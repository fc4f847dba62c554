// Transmitter lists (JSON) read from text: whatever the text, a list comes back whose entries
// the station can tune for.
#include "fuzz/fuzz_support.h"
#include "tracking/transmitters.h"

using zen::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const zen::TTransmitterList list = zen::ParseTransmitters(zen::fuzz::AsText(data, size));
  Require(list.invalid >= 0, "invalid entries are counted from 0");
  Require(list.problem.empty() || list.items.empty(), "a text that is no list gives no entries");
  for (const zen::TTransmitter& t : list.items) {
    Require(t.noradId > 0, "an entry names its satellite");
    Require(t.downlinkLowHz || t.uplinkLowHz, "an entry has a frequency");
    for (const auto& hz : {t.uplinkLowHz, t.uplinkHighHz, t.downlinkLowHz, t.downlinkHighHz}) {
      Require(!hz || *hz > 0, "a frequency is above 0");
    }
    Require(!t.downlinkHighHz || !t.downlinkLowHz || *t.downlinkLowHz <= *t.downlinkHighHz,
            "a passband runs from low to high");
    Require(!zen::TransmitterText(t).empty(), "an entry can be listed");
  }
  return 0;
}
