// Downloads of element files: each address is fetched in turn, without blocking the thread,
// and its answer replaces its file only when it reads as element sets.
#include "update/element_download.h"

#include <QFileInfo>
#include <QNetworkRequest>
#include <cmath>

#include "core/file_access.h"
#include "core/timescale.h"
#include "tracking/element_update.h"

namespace zen {

namespace {

// The end of a message about a job that changed nothing.
QString KeptText(const TDownloadJob& job) {
  return QFileInfo::exists(job.target)
             ? QStringLiteral("; ") + job.shown + QStringLiteral(" is kept as it was.")
             : QStringLiteral("; nothing was written to ") + job.shown + QLatin1Char('.');
}

}  // namespace

QString EpochText(double julianDate) {
  if (!std::isfinite(julianDate)) return {};
  return QString::fromStdString(DateRecToText(JulianToDateRec(julianDate))) +
         QStringLiteral(" UTC");
}

TElementDownloader::TElementDownloader(QObject* parent)
    : QObject(parent), network_(new QNetworkAccessManager(this)) {
  network_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
  idle_.setSingleShot(true);
  deadline_.setSingleShot(true);
  connect(&idle_, &QTimer::timeout, this, [this] { Stop(TStop::TimedOut); });
  connect(&deadline_, &QTimer::timeout, this, [this] { Stop(TStop::TooSlow); });
}

TElementDownloader::~TElementDownloader() {
  // A fetch still running ends without telling anyone: its listeners may be going too.
  if (reply_ != nullptr) {
    reply_->disconnect(this);
    reply_->abort();
  }
}

void TElementDownloader::Start(std::vector<TDownloadJob> jobs) {
  if (running_) return;
  jobs_ = std::move(jobs);
  next_ = 0;
  cancelled_ = false;
  running_ = true;
  StartNext();
}

void TElementDownloader::Cancel() {
  if (!running_) return;
  cancelled_ = true;
  if (reply_ != nullptr) {
    Stop(TStop::Cancelled);
  }
}

void TElementDownloader::Stop(TStop why) {
  if (reply_ == nullptr || stop_ != TStop::None) return;
  stop_ = why;
  idle_.stop();
  deadline_.stop();
  // finished follows, and onFinished reports the reason.
  reply_->abort();
}

void TElementDownloader::StartNext() {
  for (;;) {
    if (next_ >= jobs_.size()) {
      running_ = false;
      jobs_.clear();
      emit Finished();
      return;
    }
    const TDownloadJob& next = jobs_[next_];
    TDownloadOutcome refused{next.name, TDownloadStatus::Cancelled, {}, next.target};
    if (cancelled_) {
      refused.message = next.name + QStringLiteral(": cancelled") + KeptText(next);
    } else {
      // Asked before the request: an answer that could not be written is not worth fetching.
      const std::string problem = ElementTargetProblem(next.target.toStdString());
      if (problem.empty()) break;
      refused.status = TDownloadStatus::Failed;
      refused.message = next.name + QStringLiteral(": ") +
                        QString::fromStdString(PrintableText(problem)) +
                        QStringLiteral(", so nothing was fetched") + KeptText(next);
    }
    ++next_;
    emit JobDone(refused);
  }
  const TDownloadJob& job = jobs_[next_];
  const int index = static_cast<int>(next_);
  const QString name = job.name;
  QNetworkRequest request(job.url);
  request.setMaximumRedirectsAllowed(kMaxRedirects);
  request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Zenarith/1.0"));
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  answer_.reset();
  received_ = 0;
  writeError_.clear();
  stop_ = TStop::None;
  reply_ = network_->get(request);
  // The network stops reading while this much waits: an answer arriving faster than its file
  // takes it is held back, not gathered in memory.
  reply_->setReadBufferSize(kUnreadAnswerBytes);
  connect(reply_, &QNetworkReply::metaDataChanged, this, &TElementDownloader::onMetaData);
  connect(reply_, &QNetworkReply::readyRead, this, &TElementDownloader::onReadyRead);
  connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
    idle_.start(timeoutMs_);
    emit Progress(received, total);
  });
  connect(reply_, &QNetworkReply::finished, this, &TElementDownloader::onFinished);
  idle_.start(timeoutMs_);
  deadline_.start(timeoutMs_ * kWholeAnswerTimeouts);
  // Last: a listener may cancel at once, which ends this job before the call returns.
  emit JobStarted(index, static_cast<int>(jobs_.size()), name);
}

void TElementDownloader::onMetaData() {
  if (reply_ == nullptr || stop_ != TStop::None) return;
  // A length announced past the limit is refused before its body. A compressed answer only
  // grows when unpacked.
  const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
  if (length.isValid() && length.toLongLong() > kLargestAnswerBytes) Stop(TStop::TooLarge);
}

TElementDownloader::TStop TElementDownloader::TakeAnswer() {
  char piece[64 * 1024];
  while (reply_->bytesAvailable() > 0) {
    // Not a byte is read past the limit.
    if (received_ + reply_->bytesAvailable() > kLargestAnswerBytes) return TStop::TooLarge;
    const qint64 got = reply_->read(piece, sizeof piece);
    if (got <= 0) break;
    try {
      if (answer_ == nullptr)
        answer_ = std::make_unique<TAnswerFile>(jobs_[next_].target.toStdString());
      answer_->Append(std::string_view(piece, size_t(got)));
    } catch (const std::exception& error) {
      writeError_ = QString::fromStdString(PrintableText(error.what()));
      return TStop::WriteFailed;
    }
    received_ += got;
  }
  return TStop::None;
}

void TElementDownloader::onReadyRead() {
  if (reply_ == nullptr || stop_ != TStop::None) return;
  idle_.start(timeoutMs_);
  if (const TStop why = TakeAnswer(); why != TStop::None) Stop(why);
}

void TElementDownloader::onFinished() {
  QNetworkReply* reply = reply_;
  if (reply == nullptr) return;
  idle_.stop();
  deadline_.stop();
  if (stop_ == TStop::None) stop_ = TakeAnswer();
  const TDownloadJob& job = jobs_[next_];
  TDownloadOutcome outcome = Judge(job);
  reply_ = nullptr;
  reply->disconnect(this);
  reply->deleteLater();
  // A temporary not put in place goes with it.
  answer_.reset();
  ++next_;
  emit JobDone(outcome);
  // The next request goes out from the event loop, not from inside this reply's signal.
  QTimer::singleShot(0, this, &TElementDownloader::StartNext);
}

TDownloadOutcome TElementDownloader::Judge(const TDownloadJob& job) {
  TDownloadOutcome outcome{job.name, TDownloadStatus::Failed, {}, job.target};
  const QString kept = KeptText(job);
  if (stop_ == TStop::Cancelled) {
    outcome.status = TDownloadStatus::Cancelled;
    outcome.message = job.name + QStringLiteral(": cancelled") + kept;
    return outcome;
  }
  const QString reason = FailureReason();
  if (!reason.isEmpty()) {
    outcome.message = job.name + QStringLiteral(": ") + reason + kept;
    return outcome;
  }
  TReplaceOutcome replace;
  if (answer_ == nullptr) {
    replace.problem = "the answer was empty";
  } else {
    replace = answer_->Replace(job.kind);
  }
  outcome.sets = replace.answer.valid;
  outcome.newestEpochJd = replace.answer.newestEpochJd;
  if (!replace.replaced) {
    outcome.message = job.name + QStringLiteral(": ") +
                      QString::fromStdString(PrintableText(replace.problem)) + kept;
    return outcome;
  }
  outcome.status = TDownloadStatus::Replaced;
  QString text =
      job.name + QStringLiteral(": ") + QString::fromStdString(CountText(replace.answer, job.kind));
  if (std::isfinite(replace.answer.newestEpochJd)) {
    text += QStringLiteral(", newest epoch ") + EpochText(replace.answer.newestEpochJd);
  }
  text += QStringLiteral("; ") + job.shown;
  // Beside the target, or beside the file a symbolic link of that name leads to.
  const QString backup = replace.backup == BackupFileOf(job.target.toStdString())
                             ? job.shown + QStringLiteral(".bak")
                             : QString::fromStdString(PrintableText(replace.backup.string()));
  if (replace.backupKept) {
    text += QStringLiteral(" updated, the previous copy kept as ") + backup + QLatin1Char('.');
  } else if (replace.backupHeld) {
    text += QStringLiteral(" updated; its previous copy, of only ") +
            QString::fromStdString(CountText(replace.previous, job.kind)) +
            QStringLiteral(", was not kept in place of ") + backup + QStringLiteral(", of ") +
            QString::fromStdString(CountText(replace.backupCount, job.kind)) + QLatin1Char('.');
  } else {
    text += QStringLiteral(" written.");
  }
  outcome.message = text;
  return outcome;
}

QString TElementDownloader::FailureReason() const {
  switch (stop_) {
    case TStop::TimedOut:
      return QStringLiteral("the server sent nothing for %1 s (timed out)")
          .arg(QString::number(timeoutMs_ / 1000.0, 'g', 3));
    case TStop::TooSlow:
      return QStringLiteral("the answer took longer than %1 s (timed out)")
          .arg(QString::number(timeoutMs_ * kWholeAnswerTimeouts / 1000.0, 'g', 4));
    case TStop::TooLarge:
      return QStringLiteral("the answer is larger than %1 MB, too large for an element file")
          .arg(kLargestAnswerBytes / (1024 * 1024));
    case TStop::WriteFailed:
      return writeError_;
    case TStop::Cancelled:
      return QStringLiteral("cancelled");
    case TStop::None:
      break;
  }
  const QNetworkReply* reply = reply_;
  const QVariant statusValue = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  const int status = statusValue.isValid() ? statusValue.toInt() : 0;
  const QString phrase =
      reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
  const QString http = QStringLiteral("HTTP ") + QString::number(status) +
                       (phrase.isEmpty() ? QString() : QLatin1Char(' ') + phrase);
  if (status == 404 || status == 410) {
    return QStringLiteral("the server has no such file (%1); check the address").arg(http);
  }
  if (status == 403 || status == 429) {
    return QStringLiteral(
               "the server refused the request (%1), usually because of too many requests; "
               "try again in two hours")
        .arg(http);
  }
  if (status >= 500 && status <= 599) {
    return QStringLiteral("the server failed (%1); try again later").arg(http);
  }
  if (status >= 400) return QStringLiteral("the server answered %1").arg(http);

  switch (reply->error()) {
    case QNetworkReply::NoError:
      break;
    case QNetworkReply::TooManyRedirectsError:
      return QStringLiteral("redirected more than %1 times (a redirect loop)").arg(kMaxRedirects);
    case QNetworkReply::InsecureRedirectError:
      return QStringLiteral("redirected from a secure address to one that is not");
    case QNetworkReply::SslHandshakeFailedError:
      return QStringLiteral("the secure (TLS) connection failed: ") + reply->errorString();
    case QNetworkReply::TimeoutError:
      return QStringLiteral("the connection timed out (") + reply->errorString() + QLatin1Char(')');
    case QNetworkReply::RemoteHostClosedError:
      return QStringLiteral("the server closed the connection before the answer was whole (") +
             reply->errorString() + QLatin1Char(')');
    default:
      return QStringLiteral("cannot fetch the address: ") + reply->errorString();
  }
  if (status != 0 && (status < 200 || status > 299)) {
    return QStringLiteral("the server answered %1").arg(http);
  }
  // A length the server announced and did not deliver (a decompressed answer has its own).
  const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
  if (length.isValid() && !reply->hasRawHeader("Content-Encoding") &&
      length.toLongLong() > received_) {
    return QStringLiteral("the answer was cut off after %1 of %2 bytes")
        .arg(received_)
        .arg(length.toLongLong());
  }
  return {};
}

}  // namespace zen
