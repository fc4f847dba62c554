// The fixed headings of the results tables and the labels of the information tables.
#include "app/grid_headings.h"

namespace zen {

// The last column of each results table holds the catalogue number, kept out of sight.
QStringList PassesHeadings() {
  return {"Event date/time", "Sat", "Azm", "Elev", "Range", "Sun azm", "Sun elev", ""};
}

std::vector<int> PassesColumnWidths() {
  return {104, 106, 50, 50, 50, 50, 77, 2};
}

QStringList FlaresHeadings() {
  return {"Event date/time", "Sat",     "Azm",      "Elev", "Range", "A", "D",
          "Fl. Ang.",        "Sun azm", "Sun elev", ""};
}

std::vector<int> FlaresColumnWidths() {
  return {104, 32, 50, 50, 50, 14, 14, 46, 50, 80, 3};
}

QStringList TextList(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list << QString::fromStdString(text);
  return list;
}

}  // namespace zen
