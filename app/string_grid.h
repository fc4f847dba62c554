// Text tables: a results table with a heading row, or a two-column table of labelled values.
#pragma once

#include <QStringList>
#include <QTableView>
#include <QTableWidget>
#include <vector>

namespace zen {

// Data rows of model under a fixed heading row (the model's headings) that stays in view while
// the rows scroll; the view takes the model over.
QTableView* MakeResultsGrid(QWidget* parent, QAbstractItemModel* model,
                            const std::vector<int>& columnWidthsPx);
QStringList HeadingRow(const QTableView* grid);

// rowCount rows whose column 0 holds fixed labels and column 1 the values.
QTableWidget* MakeLabelledGrid(QWidget* parent, int rowCount,
                               const std::vector<int>& columnWidthsPx);
void SetLabelColumn(QTableWidget* grid, const QStringList& labels);
QStringList LabelColumn(const QTableWidget* grid);

}  // namespace zen
