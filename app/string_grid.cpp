// Text tables: a results table with a heading row, or a two-column table of labelled values.
#include "app/string_grid.h"

#include "display/fonts.h"

#include <QHeaderView>

namespace zen {

namespace {

constexpr int kRowHeightPx = 16;
const QColor kFixedCellColour(0x3A, 0x3A, 0x3A);

void SetUpGrid(QTableView* grid, const std::vector<int>& columnWidthsPx) {
  grid->setShowGrid(false);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->verticalHeader()->hide();
  // The tables' own small face keeps labels such as "Range (km)" inside their columns.
  grid->setFont(ZenFont(TFontFace::MsSansSerif, 8));
  grid->verticalHeader()->setDefaultSectionSize(kRowHeightPx);
  grid->verticalHeader()->setMinimumSectionSize(kRowHeightPx);
  grid->horizontalHeader()->setMinimumSectionSize(1);
  grid->setWordWrap(false);
  for (size_t i = 0; i < columnWidthsPx.size(); ++i) {
    grid->setColumnWidth(static_cast<int>(i), columnWidthsPx[i]);
  }
}

QTableWidget* MakeGrid(QWidget* parent, int rowCount, const std::vector<int>& columnWidthsPx) {
  auto* grid = new QTableWidget(rowCount, static_cast<int>(columnWidthsPx.size()), parent);
  SetUpGrid(grid, columnWidthsPx);
  return grid;
}

}  // namespace

QTableView* MakeResultsGrid(QWidget* parent, QAbstractItemModel* model,
                            const std::vector<int>& columnWidthsPx) {
  auto* grid = new QTableView(parent);
  model->setParent(grid);
  grid->setModel(model);
  SetUpGrid(grid, columnWidthsPx);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid->horizontalHeader()->setFixedHeight(kRowHeightPx + 2);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return grid;
}

QStringList HeadingRow(const QTableView* grid) {
  QStringList texts;
  const QAbstractItemModel* model = grid->model();
  for (int c = 0; c < model->columnCount(); ++c) {
    texts << model->headerData(c, Qt::Horizontal).toString();
  }
  return texts;
}

QTableWidget* MakeLabelledGrid(QWidget* parent, int rowCount,
                               const std::vector<int>& columnWidthsPx) {
  QTableWidget* grid = MakeGrid(parent, rowCount, columnWidthsPx);
  grid->horizontalHeader()->hide();
  for (int r = 0; r < rowCount; ++r) grid->setItem(r, 1, new QTableWidgetItem());
  return grid;
}

void SetLabelColumn(QTableWidget* grid, const QStringList& labels) {
  for (int r = 0; r < grid->rowCount(); ++r) {
    auto* item = new QTableWidgetItem(r < labels.size() ? labels[r] : QString());
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(kFixedCellColour);
    grid->setItem(r, 0, item);
  }
}

QStringList LabelColumn(const QTableWidget* grid) {
  QStringList texts;
  for (int r = 0; r < grid->rowCount(); ++r) {
    const QTableWidgetItem* item = grid->item(r, 0);
    texts << (item != nullptr ? item->text() : QString());
  }
  return texts;
}

}  // namespace zen
