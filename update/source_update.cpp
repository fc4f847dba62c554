// An update of the sources list's element files: the sources due (or the ones asked for) are
// fetched in turn, and each successful fetch's time is kept in the list's file.
#include "update/source_update.h"

#include <QDateTime>
#include <QDir>
#include <algorithm>

#include "tracking/text_file.h"

namespace zen {

TSourceUpdate::TSourceUpdate(const QString& programFolder, QObject* parent)
    : QObject(parent),
      clock([] { return QDateTime::currentSecsSinceEpoch(); }),
      programFolder_(QDir(programFolder).absolutePath()) {
  connect(&downloader_, &TElementDownloader::JobStarted, this, &TSourceUpdate::JobStarted);
  connect(&downloader_, &TElementDownloader::Progress, this, &TSourceUpdate::Progress);
  connect(&downloader_, &TElementDownloader::JobDone, this, &TSourceUpdate::onJobDone);
  connect(&downloader_, &TElementDownloader::Finished, this, &TSourceUpdate::Finished);
}

QString TSourceUpdate::SourcesFile() const {
  return programFolder_ + QLatin1Char('/') + QString::fromLatin1(kUpdateSourcesFile);
}

QString TSourceUpdate::TargetFile(const TUpdateSource& source) const {
  return programFolder_ + QLatin1Char('/') + QString::fromStdString(SourceFileShown(source));
}

void TSourceUpdate::Report(const QString& name, TDownloadStatus status, const QString& message) {
  TDownloadOutcome outcome;
  outcome.name = name;
  outcome.status = status;
  outcome.message = message;
  emit JobDone(outcome);
}

void TSourceUpdate::Start(const QStringList& names, bool insist) {
  if (Running()) return;
  const QString listName = QString::fromLatin1(kUpdateSourcesFile);
  std::vector<TUpdateSource> sources;
  try {
    sources = ReadUpdateSources(SourcesFile().toStdString());
  } catch (const TFileError& error) {
    // A list that is there and cannot be read is not taken for an empty one.
    Report(listName, TDownloadStatus::Failed,
           QString::fromStdString(PrintableText(error.what())) +
               QStringLiteral(". Nothing was fetched."));
    downloader_.Start({});
    return;
  }
  if (const std::string problem = SourceListProblem(sources); !problem.empty()) {
    Report(listName, TDownloadStatus::Failed,
           listName + QStringLiteral(": ") + QString::fromStdString(problem) +
               QStringLiteral(" Nothing was fetched."));
    downloader_.Start({});
    return;
  }
  std::vector<const TUpdateSource*> chosen;
  if (names.isEmpty()) {
    for (const TUpdateSource& s : sources) chosen.push_back(&s);
  }
  for (const QString& name : names) {
    const TUpdateSource* s = FindSource(sources, name.toStdString());
    if (s == nullptr) {
      Report(name, TDownloadStatus::Failed,
             QString::fromStdString(PrintableText(name.toStdString())) +
                 QStringLiteral(": no source of that name in ") + listName + QLatin1Char('.'));
    } else if (std::find(chosen.begin(), chosen.end(), s) == chosen.end()) {
      chosen.push_back(s);
    }
  }
  const int64_t now = clock();
  std::vector<TDownloadJob> jobs;
  for (const TUpdateSource* s : chosen) {
    const QString name = QString::fromStdString(s->name);
    const QString shown = QString::fromStdString(SourceFileShown(*s));
    if (!FetchDue(*s, now, insist)) {
      Report(name, TDownloadStatus::Skipped,
             name + QStringLiteral(": skipped, fetched at ") +
                 QString::fromStdString(FetchTimeText(s->lastFetchUnix)) +
                 QStringLiteral(" UTC, less than two hours ago; ") + shown +
                 QStringLiteral(" is kept as it was."));
      continue;
    }
    jobs.push_back({name, QUrl(QString::fromStdString(s->url)), TargetFile(*s), shown, s->kind});
  }
  downloader_.Start(std::move(jobs));
}

void TSourceUpdate::onJobDone(TDownloadOutcome outcome) {
  if (outcome.status == TDownloadStatus::Replaced) {
    try {
      RecordFetchTime(SourcesFile().toStdString(), outcome.name.toStdString(), clock());
    } catch (const TFileError& error) {
      outcome.laterFailure = true;
      outcome.message += QStringLiteral(" The fetch time could not be kept: ") +
                         QString::fromStdString(PrintableText(error.what())) +
                         QStringLiteral("; the fetched file stays in place.");
    }
  }
  emit JobDone(outcome);
}

}  // namespace zen
