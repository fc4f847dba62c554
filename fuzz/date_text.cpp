// Typed date-time texts: the rule that holds them to a valid moment, the UTC moments of the
// command options and the fetch times of the sources list.
#include "tracking/date_text.h"
#include "cli/option_words.h"
#include "core/timescale.h"
#include "fuzz/fuzz_support.h"
#include "tracking/update_sources.h"

using zen::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = zen::fuzz::AsText(data, size);
  const zen::TNormalisedDate date = zen::NormaliseDateText(text);
  const zen::TDateRec& r = date.record;
  Require(r.year >= 1958 && r.year <= 2055 && r.month >= 1 && r.month <= 12 && r.day >= 1 &&
              r.day <= zen::DaysInMonth(r.year, r.month) && r.hour <= 23 && r.minute <= 59 &&
              r.second <= 59 && r.hundredths == 0 && date.text.size() == 19,
          "the rule gives a valid moment");
  Require(zen::NormaliseDateText(date.text).text == date.text,
          "the rule keeps its own answer as it is");

  double jd = 0.0;
  if (zen::cli::ParseUtc(text, jd)) {
    double again = -1.0;
    Require(zen::cli::ParseUtc(zen::DateRecToText(zen::JulianToDateRec(jd)), again) && again == jd,
            "a UTC moment reads back from the text the commands print for it");
  }
  // 0 is how the list says "never"; every other moment reads back from its own text.
  int64_t seconds = 0;
  if (zen::ParseFetchTime(text, seconds) && seconds != 0) {
    int64_t again = -1;
    Require(zen::ParseFetchTime(zen::FetchTimeText(seconds), again) && again == seconds,
            "a fetch time reads back from its text");
  }
  return 0;
}
