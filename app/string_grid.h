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

// A table of labels (column 0) and values (column 1) in columns of documented widths, as long as
// the table is as wide as documentedWidthPx; a wider table gives what it has more to the values.
class TLabelledGrid : public QTableWidget {
  Q_OBJECT

 public:
  TLabelledGrid(QWidget* parent, int rowCount, int labelWidthPx, int valueWidthPx,
                int documentedWidthPx);

  // The face of the table: the largest, up to the tables' 8 points, and the least narrowed at
  // which every label and each of widestValues fits its documented column whole.
  void FitFont(const QStringList& widestValues);

  // What a cell's text has of its column's width: the view keeps a margin on either side.
  int TextRoom(int columnWidthPx) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  int labelWidthPx_;
  int valueWidthPx_;
  int documentedWidthPx_;
};

void SetLabelColumn(QTableWidget* grid, const QStringList& labels);
QStringList LabelColumn(const QTableWidget* grid);

}  // namespace zen
