// The fixed headings of the results tables and the labels of the information tables.
#pragma once

#include <QStringList>
#include <vector>

namespace zen {

QStringList PassesHeadings();
std::vector<int> PassesColumnWidths();
QStringList FlaresHeadings();
std::vector<int> FlaresColumnWidths();
QStringList OrbitLabels();
QStringList LiveLabels();

}  // namespace zen
