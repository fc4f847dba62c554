// "zenarith update": the element update without a window, for scheduled use.
#include "update/update_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <memory>

#include "cli/program_home.h"
#include "core/file_access.h"
#include "update/core_application.h"
#include "update/source_update.h"

namespace zen {

namespace {

constexpr const char* kName = "zenarith update";

// Runs start, then the event loop until source signals Finished; returns whether a job failed.
template <typename TSource, typename TStart>
bool RunToEnd(TSource& source, TStart start, std::ostream& out, std::ostream& err) {
  bool failed = false;
  bool finished = false;
  QEventLoop loop;
  QObject::connect(&source, &TSource::JobDone, &loop, [&](const TDownloadOutcome& outcome) {
    // A file replaced whose fetch time was not kept is said as a failure too: the next run
    // would fetch it again within the pause.
    const bool bad = outcome.status == TDownloadStatus::Failed ||
                     outcome.status == TDownloadStatus::Cancelled || outcome.laterFailure;
    failed = failed || bad;
    // Texts of the sources list and of the command line, shown as a terminal cannot act on.
    (bad ? err : out) << PrintableText(outcome.message.toStdString()) << "\n";
  });
  QObject::connect(&source, &TSource::Finished, &loop, [&] {
    finished = true;
    loop.quit();
  });
  start();
  if (!finished) loop.exec();
  return failed;
}

}  // namespace

int RunUpdateCommand(const cli::TUpdateWords& words, std::ostream& out, std::ostream& err) {
  const std::unique_ptr<QCoreApplication> application = ApplicationIfNone();
  const int timeoutMs = words.timeoutSeconds * 1000;
  bool failed = false;
  if (!words.url.empty()) {
    const QUrl url(QString::fromStdString(words.url), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
      err << kName << ": --url needs an http:// or https:// address\n";
      return 2;
    }
    const QString output = QString::fromStdString(words.output);
    TElementDownloader downloader;
    downloader.SetTimeoutMs(timeoutMs);
    std::vector<TDownloadJob> jobs = {
        {url.toDisplayString(), url, QFileInfo(output).absoluteFilePath(), output}};
    failed = RunToEnd(
        downloader, [&] { downloader.Start(std::move(jobs)); }, out, err);
  } else {
    // The folder the window would use: an installed copy updates the user's own folder, which
    // an update run before the first start makes.
    const cli::THomeChoice choice = cli::ChooseHome(cli::CurrentHomeFacts(words.home));
    if (choice.kind == cli::THomeChoice::Kind::Unknown) {
      err << kName << ": " << choice.error << "\n";
      return 1;
    }
    const QString home = QString::fromStdString(choice.folder.string());
    if (choice.kind == cli::THomeChoice::Kind::UserFolder) QDir().mkpath(home);
    if (!QFileInfo(home).isDir()) {
      err << kName << ": the program folder " << home.toStdString() << " does not exist\n";
      return 1;
    }
    TSourceUpdate update(home);
    update.SetTimeoutMs(timeoutMs);
    QStringList names;
    for (const std::string& name : words.sources) names << QString::fromStdString(name);
    bool skipped = false;
    QObject::connect(&update, &TSourceUpdate::JobDone, &update, [&](const TDownloadOutcome& o) {
      skipped = skipped || o.status == TDownloadStatus::Skipped;
    });
    failed = RunToEnd(
        update, [&] { update.Start(names, words.force); }, out, err);
    if (skipped) out << kName << ": --force fetches the skipped sources anyway\n";
  }
  out.flush();
  return failed ? 1 : 0;
}

}  // namespace zen
