// The fixed headings of the results tables and the labels of the information tables.
#pragma once

#include <QStringList>
#include <array>
#include <string>
#include <vector>

namespace zen {

QStringList PassesHeadings();
std::vector<int> PassesColumnWidths();
QStringList FlaresHeadings();
std::vector<int> FlaresColumnWidths();
// The label column of an information table, from the labels its texts are made with.
template <size_t N>
QStringList LabelList(const std::array<const char*, N>& labels) {
  QStringList list;
  for (const char* label : labels) list << QString::fromUtf8(label);
  return list;
}
QStringList TextList(const std::vector<std::string>& texts);

}  // namespace zen
