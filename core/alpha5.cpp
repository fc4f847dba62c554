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

std::string CatalogNumberText(int64_t number) {
  std::string digits = std::to_string(number);
  if (number >= 0 && digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
  return digits;
}

std::optional<int64_t> CatalogNumberOfText(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  if (text.size() == 5 && !IsDigit(text.front())) {
    std::optional<int32_t> columns = CatalogNumberOfColumns(text);
    if (columns && *columns >= 100000) return *columns;
    return std::nullopt;
  }
  int64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > kLargestCatalogNumber) return std::nullopt;
  }
  return value;
}

}  // namespace zen
