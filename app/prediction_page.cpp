// The "Prediction" page: the results of the last passes and flares searches, one table at a
// time, and the "Passes"/"Flares" toggle, "&Predict", "Go to" and "Save".
#include "app/prediction_page.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleFactory>
#include <algorithm>

#include "app/actions.h"
#include "app/grid_headings.h"
#include "app/page_spread.h"
#include "app/string_grid.h"
#include "display/fonts.h"
#include "prediction/pass_lines.h"
#include "prediction/results.h"

namespace zen {

namespace {

const QRect kTableArea(4, 4, 512, 160);
constexpr int kButtonsX = 522;
constexpr int kButtonsWidth = 76;
constexpr int kHeadingFontPx = 10;

// The application's style with one pixel around a heading's text instead of several.
class TSlimHeaderStyle : public QProxyStyle {
 public:
  TSlimHeaderStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_HeaderMargin) return 1;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

// The widest texts of the columns: numbers have seven significant digits and three decimals
// at most (a range beyond 10000 km keeps a trailing 0), flare ranges stay below 10000 km.
const char* const kTimeSample = "0000-00-00 00:00:00";
const char* const kAngleSample = "000.000";
const char* const kElevationSample = "-00.000";
const char* const kRangeSample = "00000.000";
const char* const kFlareRangeSample = "0000.000";
// A flare is seen above the minimum elevation, never below the horizon; the room its sign
// would take keeps the satellites' labels ("920 -") whole.
const char* const kFlareElevationSample = "00.000";
// A cell's text keeps this much room beside it (the item margins and a pixel).
constexpr int kCellPaddingPx = 7;
// A heading's text keeps this much room beside it (the slim header margins and a pixel).
constexpr int kHeadingPaddingPx = 4;
// The name column.
constexpr int kSatColumn = 1;

// The documented widths suit a narrower face than the one the cells get here. Each column with
// a sample is as wide as its widest text or its heading, whichever is wider; the others keep
// their documented widths, and the name column takes what the rest leave, so that the longest
// names and labels show whole.
void FitColumns(QTableView* table, const std::vector<const char*>& samples,
                int nameColumn = kSatColumn) {
  const QFontMetrics metrics(table->font());
  const QFontMetrics headingMetrics(table->horizontalHeader()->font());
  auto fitted = [&](int c) {
    const char* sample = samples[static_cast<size_t>(c)];
    if (*sample == '\0') return table->columnWidth(c);
    const QString heading = table->model()->headerData(c, Qt::Horizontal).toString();
    const int headingWidth =
        heading.isEmpty() ? 0 : headingMetrics.horizontalAdvance(heading) + kHeadingPaddingPx;
    return std::max(metrics.horizontalAdvance(QString::fromLatin1(sample)) + kCellPaddingPx,
                    headingWidth);
  };
  int used = 0;
  for (int c = 0; c < table->model()->columnCount(); ++c) {
    if (c == nameColumn) continue;
    table->setColumnWidth(c, fitted(c));
    used += table->columnWidth(c);
  }
  const int inside =
      table->width() - 2 * table->frameWidth() - table->verticalScrollBar()->sizeHint().width();
  table->setColumnWidth(nameColumn, inside - used);
}

QPushButton* Button(QWidget* parent, const QString& caption, const char* hint, QRect where) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(where);
  if (hint != nullptr) button->setToolTip(QString::fromLatin1(hint));
  return button;
}

}  // namespace

TPredictionPage::TPredictionPage(TPredictionCommands& commands, QWidget* parent)
    : QWidget(parent), commands_(commands) {
  // A table has a column for each documented width; the last, narrow ones have no heading.
  auto model = [this](TSearchKind kind, QStringList headings, size_t columns) {
    while (static_cast<size_t>(headings.size()) < columns) headings << QString();
    return new TResultsModel(commands_, kind, headings);
  };
  resultz = MakeResultsGrid(
      this, model(TSearchKind::Passes, PassesHeadings(), PassesColumnWidths().size()),
      PassesColumnWidths());
  resultz->setObjectName(QStringLiteral("resultz"));
  resultzF = MakeResultsGrid(
      this, model(TSearchKind::Flares, FlaresHeadings(), FlaresColumnWidths().size()),
      FlaresColumnWidths());
  resultzF->setObjectName(QStringLiteral("resultzF"));
  for (QTableView* table : {resultz, resultzF}) {
    table->setGeometry(kTableArea);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    // The narrow columns keep their headings whole with a slimmer margin and a face one
    // pixel smaller than the cells'.
    table->horizontalHeader()->setFont(ZenFontPixels(TFontFace::MsSansSerif, kHeadingFontPx));
    auto* style = new TSlimHeaderStyle;
    style->setParent(table->horizontalHeader());
    table->horizontalHeader()->setStyle(style);
    table->installEventFilter(this);
    connect(table, &QTableView::doubleClicked, commands_.goTo, &QAction::trigger);
  }

  passLinesModel = new TPassLinesModel(commands_);
  passLinesView = MakeResultsGrid(this, passLinesModel,
                                  std::vector<int>(static_cast<size_t>(kPassColumnCount), 50));
  passLinesView->setObjectName(QStringLiteral("passLines"));
  passLinesView->setGeometry(kTableArea);
  passLinesView->setSelectionMode(QAbstractItemView::SingleSelection);
  passLinesView->horizontalHeader()->setFont(
      ZenFontPixels(TFontFace::MsSansSerif, kHeadingFontPx));
  // Sorted by a click on a heading; until then in the order of the culminations.
  passLinesView->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  passLinesView->horizontalHeader()->setSectionsClickable(true);
  passLinesView->setSortingEnabled(true);
  passLinesView->installEventFilter(this);
  connect(passLinesView, &QTableView::doubleClicked, commands_.goTo, &QAction::trigger);
  FitAllColumns();
  for (QTableView* table : {resultz, resultzF, passLinesView}) WatchChoices(table);

  passes = Button(this, commands_.showPasses->text(), "Show the passes", {kButtonsX, 4, 76, 22});
  flares = Button(this, commands_.showFlares->text(), "Show the Iridium flares",
                  {kButtonsX, 26, kButtonsWidth, 22});
  passLinesButton = Button(this, QStringLiteral("One line"),
                           "Show each pass on one line, sorted by a click on a heading",
                           {kButtonsX, 52, kButtonsWidth, 22});
  for (QPushButton* toggle : {passes, flares, passLinesButton}) toggle->setCheckable(true);
  predictButton =
      Button(this, commands_.predict->text(), "Search the period for events of the kind shown",
             {kButtonsX, 80, kButtonsWidth, 26});
  goToButton = Button(this, commands_.goTo->text(), "Show the map at the selected event",
                      {kButtonsX, 110, kButtonsWidth, 24});
  saveButton = Button(this, commands_.save->text(),
                      "Save the results shown as a report, a calendar or JSON",
                      {kButtonsX, 138, kButtonsWidth, 24});
  BindButton(passes, commands_.showPasses);
  BindButton(passLinesButton, commands_.passLines);
  BindButton(flares, commands_.showFlares);
  BindButton(predictButton, commands_.predict);
  BindButton(goToButton, commands_.goTo);
  BindButton(saveButton, commands_.save);

  commands_.selectedRow = [this](TSearchKind kind) { return SelectedRow(kind); };
  commands_.selectedLine = [this] { return SelectedLine(); };
  connect(&commands_, &TPredictionCommands::PassLinesChanged, passLinesModel,
          &TPassLinesModel::Refresh);
  connect(commands_.passLines, &QAction::toggled, this, &TPredictionPage::ShowKind);
  connect(&commands_, &TPredictionCommands::RowsChanged, this,
          [this](int kind, int firstRow) { ShowRows(static_cast<TSearchKind>(kind), firstRow); });
  connect(commands_.showPasses, &QAction::toggled, this, &TPredictionPage::ShowKind);
  ShowRows(TSearchKind::Passes, 0);
  ShowRows(TSearchKind::Flares, 0);
  ShowKind();
}

void TPredictionPage::FitAllColumns() {
  FitColumns(resultz, {kTimeSample, "", kAngleSample, kElevationSample, kRangeSample, kAngleSample,
                       kElevationSample, ""});
  FitColumns(resultzF, {kTimeSample, "", kAngleSample, kFlareElevationSample, kFlareRangeSample, "",
                        "", "", kAngleSample, kElevationSample, ""});
  // The rise time may carry the mark of a pass in progress at the start.
  const std::string riseSample = std::string("00-00 00:00:00") + kInProgressMark;
  FitColumns(
      passLinesView,
      {"", riseSample.c_str(), "000.0", "00:00:00", "00.0", "00:00:00", "000.0", "00:00", "00:00"},
      static_cast<int>(TPassColumn::Sat));
}

TPredictionPage::~TPredictionPage() {
  commands_.selectedRow = nullptr;
  commands_.selectedLine = nullptr;
}

int TPredictionPage::SelectedLine() const {
  const QModelIndexList selected = passLinesView->selectionModel()->selectedIndexes();
  const int row = selected.isEmpty() ? passLinesView->currentIndex().row() : selected.front().row();
  return passLinesModel->LineOfRow(row);
}

void TPredictionPage::WatchChoices(QTableView* table) {
  table->addAction(commands_.details);
  connect(table, &QTableView::clicked, this,
          [this, table](const QModelIndex& index) { ShowChosen(table, index.row()); });
  // Moving through the rows with the keyboard shows each one.
  connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this, table](const QModelIndex& current) {
            if (table->hasFocus() && current.isValid()) ShowChosen(table, current.row());
          });
}

void TPredictionPage::ShowChosen(QTableView* table, int row) {
  if (table == passLinesView) {
    commands_.ShowPassDetails(passLinesModel->LineOfRow(row));
  } else {
    commands_.ShowDetails(table == resultzF ? TSearchKind::Flares : TSearchKind::Passes, row);
  }
}

QTableView* TPredictionPage::Table(TSearchKind kind) const {
  return kind == TSearchKind::Flares ? resultzF : resultz;
}

int TPredictionPage::SelectedRow(TSearchKind kind) const {
  const QTableView* table = Table(kind);
  const QModelIndexList selected = table->selectionModel()->selectedIndexes();
  if (!selected.isEmpty()) return selected.front().row();
  return table->currentIndex().row();
}

void TPredictionPage::ShowKind() {
  const bool flaresShown = commands_.ShownKind() == TSearchKind::Flares;
  const bool linesShown = commands_.PassLinesShown();
  resultz->setVisible(!flaresShown && !linesShown);
  passLinesView->setVisible(linesShown);
  resultzF->setVisible(flaresShown);
  // The flares are one line each already.
  commands_.passLines->setEnabled(!flaresShown);
  // The kind shown must be plain to see on the dark panel.
  for (QPushButton* toggle : {passes, flares}) {
    QPalette look = palette();
    if ((toggle == flares) == flaresShown) {
      look.setColor(QPalette::Button, look.color(QPalette::Highlight));
      look.setColor(QPalette::ButtonText, look.color(QPalette::HighlightedText));
    }
    toggle->setPalette(look);
  }
}

void TPredictionPage::ShowRows(TSearchKind kind, int firstRow) {
  QTableView* table = Table(kind);
  if (firstRow == 0) table->clearSelection();
  static_cast<TResultsModel*>(table->model())->ShowFrom(firstRow);
}

bool TPredictionPage::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == resultz || watched == resultzF || watched == passLinesView) &&
      event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      commands_.goTo->trigger();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TPredictionPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The documented page is 169 high, its tables 160. A wider page widens the tables, whose
  // names take the room, and the buttons keep to the right edge.
  const int below = 169 - kTableArea.bottom() - 1;
  const int wider = ExtraPageWidth(width());
  for (QTableView* table : {resultz, resultzF, passLinesView}) {
    table->setGeometry(kTableArea.x(), kTableArea.y(), kTableArea.width() + wider,
                       std::max(kTableArea.height(), height() - kTableArea.y() - below));
  }
  for (QPushButton* button :
       {passes, flares, passLinesButton, predictButton, goToButton, saveButton}) {
    button->move(kButtonsX + wider, button->y());
  }
  FitAllColumns();
}

}  // namespace zen
