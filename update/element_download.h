// Downloads of element files: each address is fetched in turn, without blocking the thread,
// and its answer replaces its file only when it reads as element sets.
#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "tracking/element_update.h"
#include "tracking/update_sources.h"

namespace zen {

struct TDownloadJob {
  QString name;  // named in every message about the job
  QUrl url;
  QString target;  // the file to replace, absolute
  QString shown;   // the file as messages show it, e.g. "Tle/stations.csv"
  TSourceKind kind = TSourceKind::Elements;  // how the answer is judged
};

enum class TDownloadStatus { Replaced, Skipped, Failed, Cancelled };

struct TDownloadOutcome {
  QString name;
  TDownloadStatus status = TDownloadStatus::Failed;
  QString message;  // one line that begins with the name
  QString target;
  int sets = 0;  // valid sets of the answer
  double newestEpochJd = std::numeric_limits<double>::quiet_NaN();
  // Replaced, but what had to follow failed (the fetch time was not kept): the message ends
  // with it, and a command run counts it as a failure.
  bool laterFailure = false;
};

// The most an answer may be; the largest groups of the public service are a few megabytes. An
// answer announced larger is refused before its body, and one that grows larger is refused as
// it passes the limit: it is written to its file's temporary as it comes, never held whole.
inline constexpr qint64 kLargestAnswerBytes = 64LL * 1024 * 1024;
// The most of an answer the network may hold unread: beyond it, it stops taking more.
inline constexpr qint64 kUnreadAnswerBytes = 1024 * 1024;
inline constexpr int kMaxRedirects = 5;
inline constexpr int kDefaultTimeoutMs = 30000;
inline constexpr int kLongestTimeoutMs = 3600 * 1000;
// A whole answer may take this many times the wait for its next data.
inline constexpr int kWholeAnswerTimeouts = 20;

class TElementDownloader : public QObject {
  Q_OBJECT

 public:
  explicit TElementDownloader(QObject* parent = nullptr);
  ~TElementDownloader() override;

  // The longest wait for the next data of an answer; a whole answer may take
  // kWholeAnswerTimeouts times this.
  void SetTimeoutMs(int timeoutMs) { timeoutMs_ = std::clamp(timeoutMs, 1, kLongestTimeoutMs); }
  int TimeoutMs() const { return timeoutMs_; }

  // Fetches the jobs one after another: JobStarted and Progress while each runs, JobDone when
  // it ends, Finished after the last. A job whose file could not take an answer (a folder, a
  // device or a named pipe: ElementTargetProblem) fails at once, without a request. Ignored
  // while a run is going on.
  void Start(std::vector<TDownloadJob> jobs);
  // Stops the running fetch; it and the jobs not yet started end as Cancelled.
  void Cancel();
  bool Running() const { return running_; }

 signals:
  void JobStarted(int index, int count, const QString& name);
  // Bytes of the running job's answer so far, and its length (-1 when not known).
  void Progress(qint64 received, qint64 total);
  void JobDone(const TDownloadOutcome& outcome);
  void Finished();

 private:
  enum class TStop { None, Cancelled, TimedOut, TooSlow, TooLarge, WriteFailed };

  void StartNext();
  void onMetaData();
  void onReadyRead();
  void onFinished();
  void Stop(TStop why);
  // Moves what the reply holds to the answer's file; the reason to stop, or None.
  TStop TakeAnswer();
  TDownloadOutcome Judge(const TDownloadJob& job);
  QString FailureReason() const;

  QNetworkAccessManager* network_;
  QPointer<QNetworkReply> reply_;
  QTimer idle_;
  QTimer deadline_;
  int timeoutMs_ = kDefaultTimeoutMs;
  std::vector<TDownloadJob> jobs_;
  size_t next_ = 0;
  bool running_ = false;
  bool cancelled_ = false;
  std::unique_ptr<TAnswerFile> answer_;  // made with the first bytes
  qint64 received_ = 0;
  QString writeError_;
  TStop stop_ = TStop::None;
};

// "2026-05-30 12:00:03 UTC"; empty for NaN.
QString EpochText(double julianDate);

}  // namespace zen
