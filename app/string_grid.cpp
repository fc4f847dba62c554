// Text tables: a results table with a heading row, or a two-column table of labelled values.
#include "app/string_grid.h"

#include "display/fonts.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <cmath>

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

TLabelledGrid::TLabelledGrid(QWidget* parent, int rowCount, int labelWidthPx, int valueWidthPx,
                             int documentedWidthPx)
    : QTableWidget(rowCount, 2, parent),
      labelWidthPx_(labelWidthPx),
      valueWidthPx_(valueWidthPx),
      documentedWidthPx_(documentedWidthPx) {
  SetUpGrid(this, {labelWidthPx, valueWidthPx});
  horizontalHeader()->hide();
  for (int r = 0; r < rowCount; ++r) setItem(r, 1, new QTableWidgetItem());
}

int TLabelledGrid::TextRoom(int columnWidthPx) const {
  // The item views' own margin: the focus frame's and one pixel, on either side of the text.
  const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
  return columnWidthPx - 2 * margin;
}

void TLabelledGrid::FitFont(const QStringList& widestValues) {
  const QStringList labels = LabelColumn(this);
  auto widest = [](const QFontMetricsF& metrics, const QStringList& texts) {
    qreal most = 0;
    for (const QString& text : texts) most = std::max(most, metrics.horizontalAdvance(text));
    return static_cast<int>(std::ceil(most));
  };
  // The documented face is a narrow one; the faces standing in for it are wider, so they are
  // narrowed first and made smaller only when that is not enough.
  const int largestPx = PointsToPixels(8);
  QFont font;
  for (int pixels = largestPx; pixels >= largestPx - 3; --pixels) {
    for (int stretch : {100, 90, 80}) {
      font = ZenFontPixels(TFontFace::MsSansSerif, pixels);
      font.setStretch(stretch);
      const QFontMetricsF metrics(font);
      if (widest(metrics, labels) <= TextRoom(labelWidthPx_) &&
          widest(metrics, widestValues) <= TextRoom(valueWidthPx_)) {
        setFont(font);
        return;
      }
    }
  }
  setFont(font);
}

void TLabelledGrid::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  setColumnWidth(0, labelWidthPx_);
  setColumnWidth(1, valueWidthPx_ + std::max(0, width() - documentedWidthPx_));
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
