// The Iridium status table "Data/flares.dat" and the flare labels made from it.
#include "core/text_encoding.h"
#include "fuzz/fuzz_support.h"
#include "prediction/iridium.h"

using zen::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = zen::fuzz::AsText(data, size);
  const auto file = zen::fuzz::ScratchFile("Data/flares.dat", text);
  const zen::TIridiumTable table = zen::zapodawajIridiums(file);
  Require(table.size() <= zen::kIridiumTableCapacity, "the table keeps its capacity");
  for (const zen::TIridiumData& row : table) {
    Require(row.catalogNumber > 0 && row.catalogNumber <= 999999, "six columns' number");
    Require(zen::IsValidUtf8(row.label) && zen::Utf8Length(row.label) <= 255,
            "a label is UTF-8 of at most 255 characters");
    Require(zen::BlankControlCharacters(row.label) == row.label,
            "a label holds no control character");
    Require(zen::IsIridium(table, row.catalogNumber), "a row's number is found");
    Require(zen::IsValidUtf8(zen::IridiumLabel(table, "", row.catalogNumber, true)),
            "a flare's label is UTF-8");
  }
  // A set's own name when the table does not list it: UTF-8 stays UTF-8.
  const std::string name = zen::ToUtf8(std::string(text.substr(0, 64)));
  Require(zen::IsValidUtf8(zen::IridiumLabel(table, name, -1, true)), "a name's label is UTF-8");
  return 0;
}
