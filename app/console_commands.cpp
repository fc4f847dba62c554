// The hidden console's commands: the command engine with the program behind it, and the
// speed test on a worker thread.
#include "app/console_commands.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <vector>

#include "tracking/info_texts.h"

namespace zen {

namespace {

// The live table's row whose value "DOPP" takes as the range rate.
int RangeRateRow() {
  auto found = std::find_if(kLiveLabels.begin(), kLiveLabels.end(), [](const char* label) {
    return std::strcmp(label, "RRt (km/s)") == 0;
  });
  return static_cast<int>(found - kLiveLabels.begin());
}

}  // namespace

TConsoleCommands::TConsoleCommands(const TTracker& tracker, const TSettingsCommands& settings,
                                   const TLocationCommands& locations, TScreen& screen,
                                   const QTableWidget& liveTable, QObject* parent)
    : QObject(parent),
      toggle(new QAction(QStringLiteral("Command console"), this)),
      tracker_(tracker),
      settings_(settings),
      locations_(locations),
      screen_(screen),
      liveTable_(liveTable) {}

TConsoleCommands::~TConsoleCommands() {
  stopTest_ = true;
  if (worker_.joinable()) worker_.join();
}

void TConsoleCommands::Execute(const QString& line) {
  engine_.Execute(line.toStdString());
  emit OutputChanged();
}

void TConsoleCommands::Clear() {
  engine_.Clear();
  emit OutputChanged();
}

QString TConsoleCommands::OutputText() const {
  QStringList lines;
  for (const std::string& line : engine_.Output()) lines << QString::fromStdString(line);
  return lines.join(QLatin1Char('\n'));
}

TConsoleStatus TConsoleCommands::Status() const {
  const TSatelliteList& list = tracker_.list;
  TConsoleStatus status;
  status.settingsFileName = settings_.SettingsFileName().toStdString();
  status.locationFile = locations_.Database().LocationFile;
  status.tleFileName = list.TleFileName;
  status.invalidElementCount = list.Catalog.InvalidElementCount;
  status.loadedCount = list.LoadedCount;
  status.trackedCount = list.TrackedCount;
  return status;
}

std::string TConsoleCommands::RangeRateText() const {
  const QTableWidgetItem* cell = liveTable_.item(RangeRateRow(), 1);
  return cell != nullptr ? cell->text().toStdString() : std::string();
}

void TConsoleCommands::ShowLocations() {
  const std::vector<TLocationRec>& table = locations_.Database().LocationTable;
  std::vector<TMapPoint> points;
  points.reserve(table.size());
  for (const TLocationRec& entry : table) points.push_back({entry.latitude, entry.longitude});
  screen_.MarkSites(points);
}

void TConsoleCommands::CloseConsole() {
  emit CloseRequested();
}

void TConsoleCommands::StartSpeedTest() {
  // The engine starts no second test while one runs, so a thread still here has ended.
  if (worker_.joinable()) worker_.join();
  stopTest_ = false;
  auto measure = [this, site = tracker_.Observer(), perSet = speedTestPerSet] {
    TSpeedTestResult result = RunSpeedTest(site, perSet, &stopTest_);
    if (result.stopped) return;
    // The owner joins this thread before it goes, so it is there to receive the call.
    QMetaObject::invokeMethod(
        this, [this, line = SpeedTestLine(result)] { onSpeedTestDone(line); },
        Qt::QueuedConnection);
  };
  try {
    worker_ = std::thread(std::move(measure));
  } catch (const std::system_error& error) {
    onSpeedTestDone(std::string("  The test cannot start: ") + error.what());
  }
}

void TConsoleCommands::onSpeedTestDone(const std::string& resultLine) {
  if (worker_.joinable()) worker_.join();
  engine_.SpeedTestDone(resultLine);
  emit OutputChanged();
}

}  // namespace zen
