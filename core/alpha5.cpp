// Catalogue numbers in five columns, digits or Alpha-5.
#include "core/alpha5.h"

namespace zen {

namespace {

// The letters in order of their value, starting at 10.
constexpr std::string_view kAlpha5Letters = "ABCDEFGHJKLMNPQRSTUVWXYZ";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<int32_t> CatalogNumberOfColumns(std::string_view columns) {
  if (columns.size() != 5) return std::nullopt;
  int32_t leading = 0;
  char first = columns[0];
  if (IsDigit(first)) {
    leading = first - '0';
  } else if (first == ' ') {
    leading = 0;
  } else {
    size_t index = kAlpha5Letters.find(first);
    if (index == std::string_view::npos) return std::nullopt;
    leading = static_cast<int32_t>(index) + 10;
  }
  bool alpha5 = leading >= 10;
  int32_t rest = 0;
  for (char c : columns.substr(1)) {
    if (IsDigit(c)) {
      rest = rest * 10 + (c - '0');
    } else if (c == ' ' && !alpha5) {
      rest = rest * 10;
    } else {
      return std::nullopt;
    }
  }
  return leading * 10000 + rest;
}

std::optional<std::string> ColumnsOfCatalogNumber(int64_t number) {
  if (number < 0 || number > kLargestFiveColumnNumber) return std::nullopt;
  auto leading = static_cast<size_t>(number / 10000);
  std::string rest = std::to_string(number % 10000);
  rest.insert(0, 4 - rest.size(), '0');
  char first = leading < 10 ? static_cast<char>('0' + leading) : kAlpha5Letters[leading - 10];
  return first + rest;
}

}  // namespace zen
