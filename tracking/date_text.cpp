// The rule that turns a typed date-time text into a valid calendar moment.
#include "tracking/date_text.h"

#include <algorithm>

#include "core/numeric.h"

namespace zen {

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

TNormalisedDate NormaliseDateText(std::string_view typed) {
  std::string text(typed.substr(0, std::min<size_t>(typed.size(), 19)));
  text.resize(19, ' ');
  for (char& c : text) {
    if (c != ' ' && c != '-' && !(c >= '0' && c <= ':')) c = '0';
  }
  // A field of blanks reads as 0 (blanks count as zeros), so it takes the field's lowest
  // valid value; a ":" or "-" inside a digit field makes it unreadable, which reads as 0 too.
  // A "-" typed into a field can make it negative: it is held like any other value.
  auto field = [&](int first, int count) { return IntField(text, first, count); };
  int64_t year = field(1, 4);
  if (year == 0) year = 2000;
  year = std::clamp<int64_t>(year, 1958, 2055);
  int64_t month = field(6, 2);
  month = std::clamp<int64_t>(month, 1, 12);
  int64_t day = field(9, 2);
  day = std::clamp<int64_t>(day, 1, DaysInMonth(static_cast<int>(year), static_cast<int>(month)));
  int64_t hour = std::clamp<int64_t>(field(12, 2), 0, 23);
  int64_t minute = std::clamp<int64_t>(field(15, 2), 0, 59);
  int64_t second = std::clamp<int64_t>(field(18, 2), 0, 59);

  TNormalisedDate r;
  r.record = TDateRec{static_cast<uint16_t>(year),   static_cast<uint16_t>(month),
                      static_cast<uint16_t>(day),    static_cast<uint16_t>(hour),
                      static_cast<uint16_t>(minute), static_cast<uint16_t>(second), 0};
  r.text = DateRecToText(r.record);
  return r;
}

}  // namespace zen
