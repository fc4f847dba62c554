// The information tables and the "Sat/Orbit Info" page: live values, orbit, element lines,
// notes, and copies to the clipboard.
#include "app/info_page.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QMenu>
#include <QMouseEvent>

#include "app/window_plan.h"
#include "display/fonts.h"
#include "tracking/info_texts.h"
#include "tracking/notes.h"
#include "tracking/text_file.h"

namespace zen {

namespace {

constexpr int kEpochRow = 4;

// Beside the orbit table in the documented layout: the name (or the element lines) at
// (300, 4, 298, 40) and the notes at (300, 48, 298, 116).
constexpr int kBesideGapPx = 6;
constexpr int kPageMarginPx = 4;
constexpr int kNameLeft = kOrbitTablePlace.right() + 1 + kBesideGapPx;
constexpr int kNameTop = 4;
constexpr int kNameWidth = 298;
constexpr int kNameHeight = 40;
constexpr int kNotesTop = 48;
constexpr int kNotesBelowPx = 5;

void SetValue(QTableWidget* table, int row, const std::string& text) {
  QTableWidgetItem* item = table->item(row, 1);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    table->setItem(row, 1, item);
  }
  QString value = QString::fromStdString(text);
  if (item->text() != value) item->setText(value);
}

constexpr int kElementLineColumns = 69;

// The element lines' face: fixed pitch, the largest size (narrowed where the face allows it)
// at which two 69-column lines fit the memo whole, with no scroll bar.
QFont ElementLinesFont(const QPlainTextEdit* memo) {
  const QString line(kElementLineColumns, QLatin1Char('0'));
  const qreal margin = 2 * memo->document()->documentMargin();
  const qreal widthPx = memo->contentsRect().width() - margin - 1;  // the cursor's column
  const qreal heightPx = memo->contentsRect().height() - margin;
  QFont font;
  for (int pixels = 13; pixels >= 6; --pixels) {
    for (int stretch : {100, 90, 80, 70}) {
      font = ZenFontPixels(TFontFace::Courier, pixels, pixels >= 10);
      font.setStretch(stretch);
      QFontMetricsF metrics(font);
      if (metrics.horizontalAdvance(line) <= widthPx && 2 * metrics.lineSpacing() <= heightPx) {
        return font;
      }
    }
  }
  return font;
}

QString CellText(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item != nullptr ? item->text() : QString();
}

}  // namespace

TInfoPage::TInfoPage(TTracker& tracker, QTableWidget* liveTable, QTableWidget* skyTable,
                     QTableWidget* orbitTable, QWidget* page, UserDialogs& dialogs)
    : QObject(page),
      tracker_(tracker),
      page_(page),
      live_(liveTable),
      sky_(skyTable),
      orbit_(orbitTable),
      dialogs_(dialogs) {
  connect(&tracker_, &TTracker::Changed, this, &TInfoPage::Fill);
  nameLabel = new QLabel(QStringLiteral("No active satellite"), page);
  nameLabel->setObjectName(QStringLiteral("Label21"));
  nameLabel->setAlignment(Qt::AlignCenter);
  nameLabel->setFont(ZenFontPixels(TFontFace::Courier, 20, true));
  nameLabel->setToolTip(QStringLiteral("Click right mouse button to view TLE data"));
  nameLabel->installEventFilter(this);

  elementMemo = new QPlainTextEdit(page);
  elementMemo->setObjectName(QStringLiteral("InfozT"));
  elementMemo->setGeometry(kNameLeft, kNameTop, kNameWidth, kNameHeight);
  elementMemo->setReadOnly(true);
  elementMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  elementMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  elementMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  elementMemo->document()->setDocumentMargin(1);
  elementMemo->setFont(ElementLinesFont(elementMemo));
  elementMemo->setContextMenuPolicy(Qt::NoContextMenu);
  elementMemo->viewport()->installEventFilter(this);
  elementMemo->hide();

  notesMemo = new QPlainTextEdit(page);
  notesMemo->setObjectName(QStringLiteral("Memo3"));
  notesMemo->setPlainText(QString::fromUtf8(kNotesEmpty));
  notesMemo->setEnabled(false);
  notesMemo->installEventFilter(this);
  connect(notesMemo, &QPlainTextEdit::textChanged, this, [this] {
    if (!loadingNotes_) notesEdited_ = true;
    // The memo holds at most 5120 characters.
    QString text = notesMemo->toPlainText();
    if (static_cast<size_t>(text.size()) > kNotesMaxCharacters) {
      notesMemo->setPlainText(text.left(static_cast<int>(kNotesMaxCharacters)));
      notesMemo->moveCursor(QTextCursor::End);
    }
  });

  for (QTableWidget* table : {live_, sky_, orbit_}) {
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, [this, table](const QPoint& p) {
      QMenu menu;
      menu.addAction(QStringLiteral("Value to clipboard"), this, [this] { ValueToClipboard(); });
      menu.addAction(QStringLiteral("Table to clipboard"), this, [this] { TableToClipboard(); });
      table->setFocus();
      menu.exec(table->viewport()->mapToGlobal(p));
    });
    // Any press chooses the cell under the pointer, so a right click picks the row first.
    connect(table, &QTableWidget::cellPressed, table,
            [table](int row, int column) { table->setCurrentCell(row, column); });
  }
  page_->installEventFilter(this);
  LayOut();
}

void TInfoPage::LayOut() {
  const QSize documented = LayOutWindow(kClientWidth, kClientHeight).pages.size();
  const int moreWide = std::max(0, page_->width() - documented.width());
  const int moreHigh = std::max(0, page_->height() - documented.height());
  const int tableMore = moreWide / 2;
  orbit_->setGeometry(kOrbitTablePlace.adjusted(0, 0, tableMore, moreHigh));
  const int besideLeft = kOrbitTablePlace.right() + 1 + kBesideGapPx + tableMore;
  const int besideWidth = documented.width() - kOrbitTablePlace.right() - 1 - kBesideGapPx -
                          kPageMarginPx + moreWide - tableMore;
  nameLabel->setGeometry(besideLeft, kNameTop, besideWidth, kNameHeight);
  elementMemo->setGeometry(nameLabel->geometry());
  notesMemo->setGeometry(besideLeft, kNotesTop, besideWidth,
                         documented.height() - kNotesTop - kNotesBelowPx + moreHigh);
}

void TInfoPage::Fill() {
  TSatelliteList& list = tracker_.list;
  const TComputeCycle& cycle = tracker_.cycle;
  auto values = LiveTableValues(list, cycle.SunNow);
  for (int r = 0; r < kLiveRows; ++r) SetValue(live_, r, values[static_cast<size_t>(r)]);
  const auto more = LiveMoreValues(list, cycle.SunNow, cycle.SkyNow);
  for (int r = 0; r < kLiveMoreRows; ++r) {
    SetValue(sky_, r, more[static_cast<size_t>(r)]);
  }

  if (list.ActiveSat != list.InfoShownSat) ShowActive();
  // The age grows with the moment computed; the rest of the table holds until another
  // satellite becomes active.
  const bool aged = list.HasActiveSat() && list.ElementsOf(list.ActiveSat).decodable;
  const std::string label =
      aged ? EpochLabelText(list.ElementsOf(list.ActiveSat).elements.epochJulian,
                            tracker_.time.NowUtc)
           : std::string(kOrbitLabels[kEpochRow]);
  if (QTableWidgetItem* item = orbit_->item(kEpochRow, 0)) {
    if (item->text() != QString::fromStdString(label)) item->setText(QString::fromStdString(label));
  }
}

void TInfoPage::ShowActive() {
  TSatelliteList& list = tracker_.list;
  const TComputeCycle& cycle = tracker_.cycle;
  list.InfoShownSat = list.ActiveSat;
  // Notes being edited belong to the satellite that was active: keep them first, and try
  // again those whose save failed before.
  if (notesMemo->hasFocus() || notesEdited_) LeaveNotes();
  RetryUnsavedNotes();
  auto orbit = OrbitTableValues(cycle.ActiveSnapshot);
  bool active = list.HasActiveSat();
  satelliteActive_ = active;
  if (active) {
    const TCatalogSet& set = list.ElementsOf(list.ActiveSat);
    elementMemo->setPlainText(QString::fromStdString(ElementSetText(set)));
    // Two element lines fit whole; the many fields of a mean-elements message scroll.
    elementMemo->setVerticalScrollBarPolicy(set.lines.line1.empty() ? Qt::ScrollBarAsNeeded
                                                                    : Qt::ScrollBarAlwaysOff);
    notesNumber_ = list.CatalogNumberOf(list.ActiveSat);
    notesMemo->setEnabled(true);
    notesUnreadable_ = false;
    const auto held = unsavedNotes_.find(notesNumber_);
    if (held != unsavedNotes_.end()) {
      ShowNotes(held->second);
      MarkNotesUnsaved(true);
    } else {
      try {
        ShowNotes(ZapodawajNotes(NotesFilePath(programFolder_.toStdString(), notesNumber_)));
      } catch (const TFileError& error) {
        // What could not be read is never written over by notes typed into an empty box.
        notesUnreadable_ = true;
        ShowNotes({kNotesEmpty});
        dialogs_.ShowError(QString::fromStdString(error.what()) +
                           QStringLiteral("\nThe notes of this satellite cannot be edited until "
                                          "the file can be read."));
      }
      MarkNotesUnsaved(false);
      notesMemo->setEnabled(!notesUnreadable_);
    }
    nameLabel->setText(QString::fromStdString(list.NameOf(list.ActiveSat)));
    for (int r = 0; r < kOrbitRows; ++r) SetValue(orbit_, r, orbit[static_cast<size_t>(r)]);
  } else {
    for (int r = 0; r < kOrbitRows; ++r) SetValue(orbit_, r, "");
    notesNumber_.clear();
    loadingNotes_ = true;
    notesMemo->clear();
    loadingNotes_ = false;
    notesEdited_ = false;
    MarkNotesUnsaved(false);
    notesMemo->setEnabled(false);
    notesUnreadable_ = false;
    nameLabel->setText(QStringLiteral("No active satellite"));
    nameLabel->show();
    elementMemo->hide();
  }
}

void TInfoPage::ShowNotes(const std::vector<std::string>& lines) {
  QStringList text;
  for (const std::string& line : lines) text << QString::fromStdString(line);
  loadingNotes_ = true;
  notesMemo->setPlainText(text.join('\n'));
  loadingNotes_ = false;
  notesEdited_ = false;
}

std::vector<std::string> TInfoPage::MemoLines() const {
  std::vector<std::string> lines;
  const QString text = notesMemo->toPlainText();
  if (!text.isEmpty()) {
    for (const QString& line : text.split('\n')) lines.push_back(line.toStdString());
  }
  return lines;
}

void TInfoPage::MarkNotesUnsaved(bool unsaved) {
  notesMemo->setProperty("unsaved", unsaved);
  notesMemo->setToolTip(unsaved ? QStringLiteral("Not saved yet: ") +
                                      QString::fromStdString(unsavedReason_) +
                                      QStringLiteral("\nTried again at the next change of "
                                                     "satellite and at exit.")
                                : QString());
  notesMemo->setStyleSheet(unsaved ? QStringLiteral("QPlainTextEdit { border: 2px solid #D04040; }")
                                   : QString());
}

bool TInfoPage::SaveHeldNotes(const std::string& number) {
  const auto held = unsavedNotes_.find(number);
  if (held == unsavedNotes_.end()) return true;
  try {
    SaveNotes(NotesFilePath(programFolder_.toStdString(), number), held->second);
  } catch (const TFileError& error) {
    unsavedReason_ = error.what();
    return false;
  }
  unsavedNotes_.erase(held);
  return true;
}

void TInfoPage::RetryUnsavedNotes() {
  std::vector<std::string> numbers = UnsavedNotes();
  for (const std::string& number : numbers) SaveHeldNotes(number);
}

std::vector<std::string> TInfoPage::UnsavedNotes() const {
  std::vector<std::string> numbers;
  for (const auto& [number, lines] : unsavedNotes_) numbers.push_back(number);
  return numbers;
}

void TInfoPage::LeaveNotes() {
  if (!notesEdited_ || notesNumber_.empty() || notesUnreadable_) return;
  notesEdited_ = false;
  std::vector<std::string> lines = MemoLines();
  try {
    ShowNotes(SaveNotes(NotesFilePath(programFolder_.toStdString(), notesNumber_), lines));
    unsavedNotes_.erase(notesNumber_);
    MarkNotesUnsaved(false);
  } catch (const TFileError& error) {
    // The text stays in the memo, marked, and is held for its satellite until a save works:
    // the next change of satellite and the exit try again.
    unsavedNotes_[notesNumber_] = std::move(lines);
    unsavedReason_ = error.what();
    MarkNotesUnsaved(true);
    dialogs_.ShowError(QString::fromStdString(error.what()) +
                       QStringLiteral("\nThe notes stay in the box and are saved as soon as "
                                      "the file can be written."));
  }
}

bool TInfoPage::KeepNotesBeforeExit() {
  LeaveNotes();
  RetryUnsavedNotes();
  if (unsavedNotes_.empty()) {
    MarkNotesUnsaved(false);
    return true;
  }
  QStringList numbers;
  for (const std::string& number : UnsavedNotes()) numbers << QString::fromStdString(number);
  return dialogs_.Ask(QStringLiteral("The notes of satellite %1 could not be saved: %2\n"
                                     "Exit anyway? Those notes are lost.")
                          .arg(numbers.join(QStringLiteral(", ")),
                               QString::fromStdString(unsavedReason_)));
}

bool TInfoPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == page_ && event->type() == QEvent::Resize) LayOut();
  if (watched == notesMemo) {
    if (event->type() == QEvent::FocusIn) notesEdited_ = false;
    if (event->type() == QEvent::FocusOut) LeaveNotes();
  }
  if (event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    if (watched == nameLabel && satelliteActive_) {
      elementMemo->show();
      nameLabel->hide();
      return true;
    }
    if (watched == elementMemo->viewport()) {
      nameLabel->show();
      elementMemo->hide();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

QTableWidget* TInfoPage::FocusedTable() const {
  if (live_->hasFocus()) return live_;
  if (sky_->hasFocus()) return sky_;
  if (orbit_->hasFocus()) return orbit_;
  return nullptr;
}

bool TInfoPage::ValueToClipboard() {
  QTableWidget* table = FocusedTable();
  if (table == nullptr) return false;
  int row = table->currentRow();
  QApplication::clipboard()->setText(row >= 0 ? CellText(table, row, 1) : QString());
  return true;
}

bool TInfoPage::TableToClipboard() {
  QTableWidget* table = FocusedTable();
  if (table == nullptr) return false;
  std::vector<std::string> labels;
  std::vector<std::string> values;
  for (int r = 0; r < table->rowCount(); ++r) {
    labels.push_back(CellText(table, r, 0).toStdString());
    values.push_back(CellText(table, r, 1).toStdString());
  }
  QApplication::clipboard()->setText(QString::fromStdString(TableText(labels, values)));
  return true;
}

}  // namespace zen
