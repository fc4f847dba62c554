// Text tables: a results table with a heading row, or a two-column table of labelled values.
#pragma once

#include <QStringList>
#include <QTableWidget>
#include <vector>

namespace zen {

// Data rows under a fixed heading row that stays in view while the rows scroll.
QTableWidget* MakeResultsGrid(QWidget* parent, const std::vector<int>& columnWidthsPx);
void SetHeadingRow(QTableWidget* grid, const QStringList& headings);
QStringList HeadingRow(const QTableWidget* grid);

// rowCount rows whose column 0 holds fixed labels and column 1 the values.
QTableWidget* MakeLabelledGrid(QWidget* parent, int rowCount,
                               const std::vector<int>& columnWidthsPx);
void SetLabelColumn(QTableWidget* grid, const QStringList& labels);
QStringList LabelColumn(const QTableWidget* grid);

}  // namespace zen
