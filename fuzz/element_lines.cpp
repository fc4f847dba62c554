// One element set as two lines: validation, decoding, and the catalogue number's text forms.
#include "core/alpha5.h"
#include "core/catalog.h"
#include "core/elements.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_support.h"

using zen::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = zen::fuzz::AsText(data, size);
  const std::vector<std::string> lines = zen::fuzz::SplitLines(text);
  const zen::TTleLines set{lines[0], lines.size() > 1 ? lines[1] : std::string()};
  const bool valid = zen::ElementSetValid(set);
  const zen::TCatalogSet decoded = zen::DecodeCatalogSet(set);
  Require(decoded.lines == set, "the catalogue keeps the lines as read");
  Require(!valid || !decoded.decodable || decoded.elements.meanMotion > 0.0,
          "a valid set has a mean motion above 0");
  zen::CatalogNumberText(set);

  if (const auto number = zen::CatalogNumberOfColumns(text.substr(0, 5))) {
    const auto columns = zen::ColumnsOfCatalogNumber(*number);
    Require(columns && zen::CatalogNumberOfColumns(*columns) == number,
            "five columns' number has columns that read back to it");
  }
  if (const auto number = zen::CatalogNumberOfText(lines[0])) {
    Require(*number >= 0 && *number <= zen::kLargestCatalogNumber &&
                zen::CatalogNumberOfText(zen::CatalogNumberText(*number)) == number,
            "a typed number reads back from the text lists show for it");
  }

  // Names are converted once and cut between characters.
  const std::string utf8 = zen::ToUtf8(lines[0]);
  Require(zen::IsValidUtf8(utf8), "any bytes become UTF-8");
  const std::string prefix = zen::Utf8Prefix(utf8, 24);
  Require(zen::IsValidUtf8(prefix) && zen::Utf8Length(prefix) <= 24,
          "a cut name is UTF-8 of at most 24 characters");
  zen::ToWindows1252(utf8);

  // Control characters are blanked one for one, and once is enough.
  const std::string shown = zen::BlankControlCharacters(utf8);
  Require(zen::IsValidUtf8(shown) && zen::Utf8Length(shown) == zen::Utf8Length(utf8) &&
              zen::BlankControlCharacters(shown) == shown,
          "blanking keeps UTF-8 and its length in characters, and a second changes nothing");
  const std::string kept = zen::WithoutCutCharacter(lines[0]);
  Require(kept.size() + 3 >= lines[0].size() && lines[0].compare(0, kept.size(), kept) == 0,
          "a cut character is at most the last three bytes");
  return 0;
}
