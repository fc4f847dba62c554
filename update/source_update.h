// An update of the sources list's element files: the sources due (or the ones asked for) are
// fetched in turn, and each successful fetch's time is kept in the list's file.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

#include "tracking/update_sources.h"
#include "update/element_download.h"

namespace zen {

class TSourceUpdate : public QObject {
  Q_OBJECT

 public:
  // programFolder holds Tle/ and Setup/.
  explicit TSourceUpdate(const QString& programFolder, QObject* parent = nullptr);

  // The moment in seconds since 1970 (UTC); the machine's clock unless a test sets another.
  std::function<int64_t()> clock;
  void SetTimeoutMs(int timeoutMs) { downloader_.SetTimeoutMs(timeoutMs); }

  QString SourcesFile() const;
  // The file a source refreshes, absolute.
  QString TargetFile(const TUpdateSource& source) const;

  // Fetches the named sources (any case; empty: every source), those fetched within two hours
  // only with insist. A source that is not due, or a name the list does not have, is reported
  // at once as Skipped or Failed; a list with a problem, or a list file that cannot be read or
  // is empty, fails as a whole. A fetch whose time cannot be kept in the list ends Replaced
  // with laterFailure. Finished ends every run, after the last JobDone. Connect before
  // starting: an update with nothing to fetch finishes within this call.
  void Start(const QStringList& names, bool insist);
  void Cancel() { downloader_.Cancel(); }
  bool Running() const { return downloader_.Running(); }

 signals:
  void JobStarted(int index, int count, const QString& name);
  void Progress(qint64 received, qint64 total);
  void JobDone(const TDownloadOutcome& outcome);
  void Finished();

 private:
  void onJobDone(TDownloadOutcome outcome);
  void Report(const QString& name, TDownloadStatus status, const QString& message);

  QString programFolder_;
  TElementDownloader downloader_;
};

}  // namespace zen
