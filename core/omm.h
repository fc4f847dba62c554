// Element sets published as Orbit Mean-Elements Messages (OMM) in CSV, JSON or XML, decoded
// into the same elements the element lines give.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/elements.h"

namespace zen {

// The kind of an element text, told from its content: JSON when the first non-blank character
// is "[" or "{", XML when it is "<", CSV when the first line names the OBJECT_NAME and
// NORAD_CAT_ID columns, element lines otherwise. A UTF-8 byte-order mark is skipped.
enum class TElementTextKind { ElementLines, Csv, Json, Xml };
TElementTextKind ElementTextKind(std::string_view text);

// The largest catalogue number a message may carry.
inline constexpr int64_t kLargestOmmCatalogNumber = 999999999;

// One set of a message; elements.catalogNumber is the number's CatalogNumberText.
struct TOmmSet {
  std::string name;           // OBJECT_NAME, blanks trimmed
  int64_t catalogNumber = 0;  // NORAD_CAT_ID
  TElements elements;
};

struct TOmmReadResult {
  TElementTextKind kind = TElementTextKind::ElementLines;
  std::vector<TOmmSet> sets;  // in text order
  // Sets (or unfinished pieces of the text) that could not be read.
  int invalidCount = 0;
};

// Reads every set of a CSV, JSON or XML message. A set with a missing field, a value that is
// not a number where one belongs, a value out of its range or an epoch outside 1957..2056 is
// counted as invalid and the rest are read; the set that a truncated text cuts off is never
// trusted. Element-line text gives its kind and no sets. Does not throw on any input.
TOmmReadResult ReadOmmText(std::string_view text);

}  // namespace zen
