// Text tables: a results table with a heading row, or a two-column table of labelled values.
#include "app/string_grid.h"

#include "display/fonts.h"

#include <QHeaderView>

namespace zen {

namespace {

constexpr int kRowHeightPx = 16;
const QColor kFixedCellColour(0x3A, 0x3A, 0x3A);

QTableWidget* MakeGrid(QWidget* parent, int rowCount, const std::vector<int>& columnWidthsPx) {
  auto* grid = new QTableWidget(rowCount, static_cast<int>(columnWidthsPx.size()), parent);
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
  return grid;
}

}  // namespace

QTableWidget* MakeResultsGrid(QWidget* parent, const std::vector<int>& columnWidthsPx) {
  QTableWidget* grid = MakeGrid(parent, 0, columnWidthsPx);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid->horizontalHeader()->setFixedHeight(kRowHeightPx + 2);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return grid;
}

void SetHeadingRow(QTableWidget* grid, const QStringList& headings) {
  for (int c = 0; c < grid->columnCount(); ++c) {
    grid->setHorizontalHeaderItem(
        c, new QTableWidgetItem(c < headings.size() ? headings[c] : QString()));
  }
}

QStringList HeadingRow(const QTableWidget* grid) {
  QStringList texts;
  for (int c = 0; c < grid->columnCount(); ++c) {
    const QTableWidgetItem* item = grid->horizontalHeaderItem(c);
    texts << (item != nullptr ? item->text() : QString());
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
