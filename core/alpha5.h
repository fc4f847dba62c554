// Catalogue numbers in element lines' five columns: plain digits up to 99999, and above that
// the Alpha-5 form, a letter for the ten-thousands (A = 10 ... Z = 33, without I and O)
// followed by four digits, which reaches 339999.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zen {

// The largest number the five columns can hold ("Z9999").
inline constexpr int32_t kLargestFiveColumnNumber = 339999;

// The number of five columns: five digits (blanks count as zeros), or a capital letter other
// than I and O followed by four digits. Anything else, or a text that is not five characters,
// gives no number.
std::optional<int32_t> CatalogNumberOfColumns(std::string_view columns);

// The five columns of a number 0..339999: digits with leading zeros up to 99999, the Alpha-5
// form above. No text for numbers outside that range.
std::optional<std::string> ColumnsOfCatalogNumber(int64_t number);

// The largest catalogue number the program keeps.
inline constexpr int64_t kLargestCatalogNumber = 999999999;

// A number as every list, table, file name and report shows it: five digits with leading
// zeros up to 99999, as element lines have always shown them, and all its digits above.
std::string CatalogNumberText(int64_t number);

// A number as a user or a settings file writes it: decimal digits (leading zeros allowed,
// blanks around them ignored) up to kLargestCatalogNumber, or five columns in the Alpha-5
// form. No number for anything else.
std::optional<int64_t> CatalogNumberOfText(std::string_view text);

}  // namespace zen
