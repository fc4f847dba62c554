// The "Update elements" dialog: the sources list to edit, "Update now" with its progress and
// Cancel, and what each source's fetch came to.
#include "app/update_dialog.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "tracking/text_file.h"

namespace zen {

namespace {

constexpr int kProgressSteps = 1000;

QPushButton* Button(QWidget* parent, const char* caption, const char* hint) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setToolTip(QString::fromUtf8(hint));
  b->setAutoDefault(false);
  return b;
}

QString Kilobytes(qint64 bytes) {
  return QString::number((bytes + 1023) / 1024) + QStringLiteral(" kB");
}

}  // namespace

TUpdateDialog::TUpdateDialog(TSourceUpdate& update, QWidget* parent)
    : QDialog(parent), update_(update) {
  setObjectName(QStringLiteral("updateDialog"));
  setWindowTitle(QStringLiteral("Update elements"));
  setModal(false);
  // Resizable: the list and the log grow with the window, the buttons keep to its edges.
  setMinimumSize(kUpdateMinimumWidth, kUpdateMinimumHeight);
  resize(kUpdateDialogWidth, kUpdateDialogHeight);
  setSizeGripEnabled(true);

  sources = new QTableWidget(0, kSourceColumns, this);
  sources->setObjectName(QStringLiteral("sources"));
  sources->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Address"),
                                      QStringLiteral("File in Tle"),
                                      QStringLiteral("Last fetch (UTC)")});
  sources->verticalHeader()->hide();
  sources->setSelectionBehavior(QAbstractItemView::SelectRows);
  sources->setSelectionMode(QAbstractItemView::SingleSelection);
  sources->horizontalHeader()->setSectionResizeMode(kSourceUrl, QHeaderView::Stretch);
  sources->setColumnWidth(kSourceName, 90);
  sources->setColumnWidth(kSourceFile, 110);
  sources->setColumnWidth(kSourceLastFetch, 150);
  sources->setToolTip(
      QStringLiteral("Double-click a name, address or file to change it; the list is kept in "
                     "Setup/sources.set"));

  addButton = Button(this, "Add", "Add a source");
  removeButton = Button(this, "Remove", "Remove the chosen source");
  loadButton = Button(this, "Load", "Load the chosen source's element file");
  insist = new QCheckBox(QStringLiteral("Fetch again within two hours"), this);
  insist->setToolTip(
      QStringLiteral("A source is not fetched again within two hours of its last fetch unless "
                     "this is checked"));
  updateButton = Button(this, "Update now", "Fetch every source that is due");
  cancelButton =
      Button(this, "Cancel", "Stop fetching; the files not yet fetched stay as they are");
  closeButton = Button(this, "Close", "Close this dialog; a running update goes on");
  progress = new QProgressBar(this);
  progress->setRange(0, kProgressSteps);
  progress->setValue(0);
  progress->setTextVisible(false);
  status = new QLabel(this);
  status->setObjectName(QStringLiteral("updateStatus"));
  status->setWordWrap(true);
  log = new QPlainTextEdit(this);
  log->setObjectName(QStringLiteral("updateLog"));
  log->setReadOnly(true);
  log->setMaximumBlockCount(500);

  auto* listButtons = new QHBoxLayout;
  listButtons->addWidget(addButton);
  listButtons->addWidget(removeButton);
  listButtons->addWidget(loadButton);
  listButtons->addStretch(1);
  listButtons->addWidget(insist);
  auto* runButtons = new QHBoxLayout;
  runButtons->addWidget(updateButton);
  runButtons->addWidget(cancelButton);
  runButtons->addWidget(progress, 1);
  runButtons->addWidget(closeButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sources, 3);
  layout->addLayout(listButtons);
  layout->addLayout(runButtons);
  layout->addWidget(status);
  layout->addWidget(log, 2);

  connect(sources, &QTableWidget::cellChanged, this, [this] { SaveSources(); });
  connect(addButton, &QPushButton::clicked, this, &TUpdateDialog::AddSource);
  connect(removeButton, &QPushButton::clicked, this, &TUpdateDialog::RemoveSource);
  connect(loadButton, &QPushButton::clicked, this, &TUpdateDialog::LoadChosen);
  connect(updateButton, &QPushButton::clicked, this, &TUpdateDialog::UpdateNow);
  connect(cancelButton, &QPushButton::clicked, &update_, &TSourceUpdate::Cancel);
  connect(closeButton, &QPushButton::clicked, this, &QDialog::hide);
  connect(&update_, &TSourceUpdate::JobStarted, this, &TUpdateDialog::onJobStarted);
  connect(&update_, &TSourceUpdate::Progress, this, &TUpdateDialog::onProgress);
  connect(&update_, &TSourceUpdate::JobDone, this, &TUpdateDialog::onJobDone);
  connect(&update_, &TSourceUpdate::Finished, this, &TUpdateDialog::onFinished);
  ShowSources();
  SetRunning(update_.Running());
}

void TUpdateDialog::ShowSources() {
  std::vector<TUpdateSource> list;
  const QString hadError = listError_;
  listError_.clear();
  try {
    list = ReadUpdateSources(update_.SourcesFile().toStdString());
  } catch (const TFileError& error) {
    // Shown as an empty list, which an edit would write over the user's file.
    listError_ = QString::fromStdString(PrintableText(error.what())) +
                 QStringLiteral(
                     ". The list cannot be changed here until the file is put right "
                     "or removed (without it the shipped list is used).");
  }
  // Texts of the file as they may be shown: a control byte as its code.
  auto shown = [](const std::string& text) { return QString::fromStdString(PrintableText(text)); };
  filling_ = true;
  sources->setRowCount(static_cast<int>(list.size()));
  for (int row = 0; row < static_cast<int>(list.size()); ++row) {
    const TUpdateSource& s = list[static_cast<size_t>(row)];
    auto* name = new QTableWidgetItem(shown(s.name));
    // The kind of answer goes with the row too; the transmitter list lies in Data/.
    name->setData(Qt::UserRole, static_cast<int>(s.kind));
    sources->setItem(row, kSourceName, name);
    sources->setItem(row, kSourceUrl, new QTableWidgetItem(shown(s.url)));
    auto* file = new QTableWidgetItem(shown(s.file));
    if (s.kind == TSourceKind::Transmitters) {
      file->setToolTip(QStringLiteral("The transmitter list, kept as ") +
                       shown(SourceFileShown(s)));
    }
    sources->setItem(row, kSourceFile, file);
    auto* fetched = new QTableWidgetItem(QString::fromStdString(FetchTimeText(s.lastFetchUnix)));
    fetched->setFlags(fetched->flags() & ~Qt::ItemIsEditable);
    // The time goes with the row when the list is written back.
    fetched->setData(Qt::UserRole, QVariant::fromValue<qint64>(s.lastFetchUnix));
    sources->setItem(row, kSourceLastFetch, fetched);
  }
  filling_ = false;
  listSound_ = listError_.isEmpty();
  if (!listError_.isEmpty()) {
    status->setText(listError_);
  } else if (!hadError.isEmpty()) {
    status->clear();
  }
  SetRunning(update_.Running());
}

std::vector<TUpdateSource> TUpdateDialog::FromTable() const {
  std::vector<TUpdateSource> list;
  auto text = [this](int row, int column) {
    const QTableWidgetItem* item = sources->item(row, column);
    return item != nullptr ? item->text().trimmed().toStdString() : std::string();
  };
  for (int row = 0; row < sources->rowCount(); ++row) {
    TUpdateSource s;
    s.name = text(row, kSourceName);
    s.url = text(row, kSourceUrl);
    s.file = text(row, kSourceFile);
    if (const QTableWidgetItem* name = sources->item(row, kSourceName)) {
      s.kind = name->data(Qt::UserRole).toInt() == static_cast<int>(TSourceKind::Transmitters)
                   ? TSourceKind::Transmitters
                   : TSourceKind::Elements;
    }
    if (const QTableWidgetItem* fetched = sources->item(row, kSourceLastFetch)) {
      s.lastFetchUnix = fetched->data(Qt::UserRole).toLongLong();
    }
    list.push_back(std::move(s));
  }
  return list;
}

void TUpdateDialog::SaveSources() {
  // Never over a file that could not be read: the list shown is not what it holds.
  if (filling_ || !listError_.isEmpty()) return;
  const std::vector<TUpdateSource> list = FromTable();
  const std::string problem = SourceListProblem(list);
  listSound_ = problem.empty();
  if (!listSound_) {
    status->setText(QString::fromStdString(problem) +
                    QStringLiteral(" The list is not kept until this is put right."));
  } else {
    try {
      WriteUpdateSources(update_.SourcesFile().toStdString(), list);
      status->setText(QStringLiteral("The sources list is kept in Setup/sources.set."));
    } catch (const TFileError& error) {
      listSound_ = false;
      status->setText(QString::fromStdString(error.what()));
    }
  }
  SetRunning(update_.Running());
}

void TUpdateDialog::AddSource() {
  if (!listError_.isEmpty()) return;
  // A name and file that no other source has, for the user to change.
  const std::vector<TUpdateSource> list = FromTable();
  int n = static_cast<int>(list.size()) + 1;
  while (FindSource(list, "source" + std::to_string(n)) != nullptr) ++n;
  const QString name = QStringLiteral("source") + QString::number(n);
  filling_ = true;
  const int row = sources->rowCount();
  sources->insertRow(row);
  sources->setItem(row, kSourceName, new QTableWidgetItem(name));
  sources->setItem(row, kSourceUrl, new QTableWidgetItem(QStringLiteral("https://")));
  sources->setItem(row, kSourceFile, new QTableWidgetItem(name + QStringLiteral(".tle")));
  auto* fetched = new QTableWidgetItem(QStringLiteral("never"));
  fetched->setFlags(fetched->flags() & ~Qt::ItemIsEditable);
  fetched->setData(Qt::UserRole, QVariant::fromValue<qint64>(0));
  sources->setItem(row, kSourceLastFetch, fetched);
  filling_ = false;
  sources->setCurrentCell(row, kSourceUrl);
  SaveSources();
  sources->editItem(sources->item(row, kSourceUrl));
}

void TUpdateDialog::RemoveSource() {
  if (!listError_.isEmpty()) return;
  const int row = sources->currentRow();
  if (row < 0) return;
  sources->removeRow(row);
  SaveSources();
}

void TUpdateDialog::LoadChosen() {
  const int row = sources->currentRow();
  const QTableWidgetItem* item = row >= 0 ? sources->item(row, kSourceFile) : nullptr;
  if (item == nullptr || !loadFile) return;
  const std::vector<TUpdateSource> list = FromTable();
  const TUpdateSource& s = list[static_cast<size_t>(row)];
  if (s.kind == TSourceKind::Transmitters) {
    status->setText(
        QStringLiteral("The transmitter list is read by the station, not loaded as "
                       "element sets."));
    return;
  }
  const QString file = update_.TargetFile(s);
  if (!QFileInfo::exists(file)) {
    status->setText(QString::fromStdString(SourceFileShown(s)) +
                    QStringLiteral(" has not been fetched yet."));
    return;
  }
  loadFile(file);
}

void TUpdateDialog::UpdateNow() {
  if (update_.Running() || !listSound_) return;
  log->appendPlainText(QStringLiteral("Update started."));
  progress->setValue(0);
  jobIndex_ = 0;
  jobCount_ = 0;
  fetched_ = skipped_ = failed_ = cancelled_ = 0;
  SetRunning(true);
  update_.Start({}, insist->isChecked());
}

void TUpdateDialog::SetRunning(bool running) {
  const bool editable = !running && listError_.isEmpty();
  sources->setEditTriggers(editable ? QAbstractItemView::DoubleClicked |
                                          QAbstractItemView::EditKeyPressed |
                                          QAbstractItemView::AnyKeyPressed
                                    : QAbstractItemView::NoEditTriggers);
  addButton->setEnabled(editable);
  removeButton->setEnabled(editable);
  updateButton->setEnabled(!running && listSound_);
  cancelButton->setEnabled(running);
}

void TUpdateDialog::onJobStarted(int index, int count, const QString& name) {
  jobIndex_ = index;
  jobCount_ = count;
  jobName_ = name;
  progress->setValue(count > 0 ? index * kProgressSteps / count : 0);
  status->setText(QStringLiteral("Fetching %1 (%2 of %3)...").arg(name).arg(index + 1).arg(count));
}

void TUpdateDialog::onProgress(qint64 received, qint64 total) {
  if (jobCount_ <= 0) return;
  double part = total > 0 ? static_cast<double>(received) / static_cast<double>(total) : 0.0;
  if (part > 1.0) part = 1.0;
  progress->setValue(static_cast<int>((jobIndex_ + part) * kProgressSteps / jobCount_));
  status->setText(QStringLiteral("Fetching %1 (%2 of %3): %4")
                      .arg(jobName_)
                      .arg(jobIndex_ + 1)
                      .arg(jobCount_)
                      .arg(total > 0
                               ? Kilobytes(received) + QStringLiteral(" of ") + Kilobytes(total)
                               : Kilobytes(received)));
}

void TUpdateDialog::onJobDone(const TDownloadOutcome& outcome) {
  log->appendPlainText(outcome.message);
  switch (outcome.status) {
    case TDownloadStatus::Replaced:
      ++fetched_;
      break;
    case TDownloadStatus::Skipped:
      ++skipped_;
      break;
    case TDownloadStatus::Failed:
      ++failed_;
      break;
    case TDownloadStatus::Cancelled:
      ++cancelled_;
      break;
  }
  // The fetch time of a source fetched just now.
  if (outcome.status == TDownloadStatus::Replaced) ShowSources();
}

void TUpdateDialog::onFinished() {
  progress->setValue(kProgressSteps);
  QString summary = QStringLiteral("Update finished: %1 fetched, %2 skipped, %3 failed")
                        .arg(fetched_)
                        .arg(skipped_)
                        .arg(failed_);
  if (cancelled_ > 0) summary += QStringLiteral(", %1 cancelled").arg(cancelled_);
  summary += QLatin1Char('.');
  status->setText(summary);
  log->appendPlainText(summary);
  SetRunning(false);
}

}  // namespace zen
