// The hidden console's commands: the command engine with the program behind it, and the
// speed test on a worker thread.
#pragma once

#include <QAction>
#include <QObject>
#include <QString>
#include <QTableWidget>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/location_commands.h"
#include "app/screen.h"
#include "app/settings_commands.h"
#include "app/tracker.h"
#include "console/command_engine.h"
#include "console/speed_test.h"

namespace zen {

class TConsoleCommands : public QObject, private TConsoleHost {
  Q_OBJECT

 public:
  // liveTable is the information grid whose range-rate cell "DOPP" reads; screen owns the map
  // that "SHOWLOCS" marks.
  TConsoleCommands(const TTracker& tracker, const TSettingsCommands& settings,
                   const TLocationCommands& locations, TScreen& screen,
                   const QTableWidget& liveTable, QObject* parent = nullptr);
  // Stops a running speed test and waits for its thread.
  ~TConsoleCommands() override;

  // Ctrl+Shift+`: shows or hides the console panel.
  QAction* toggle;

  // "Do!": runs one line as typed. "Clear": empties the output.
  void Execute(const QString& line);
  void Clear();

  const TCommandEngine& Engine() const { return engine_; }
  // The output, top (newest) line first, one line per text line.
  QString OutputText() const;

  // Measuring time of each built-in set (tests shorten it).
  std::chrono::milliseconds speedTestPerSet = kSpeedTestPerSet;

 signals:
  void OutputChanged();
  // "CLOSE" asks the panel to hide.
  void CloseRequested();

 private:
  const TTracker& tracker_;
  const TSettingsCommands& settings_;
  const TLocationCommands& locations_;
  TScreen& screen_;
  const QTableWidget& liveTable_;
  TCommandEngine engine_{*this};
  std::thread worker_;
  std::atomic<bool> stopTest_{false};

  TConsoleStatus Status() const override;
  std::string RangeRateText() const override;
  void ShowLocations() override;
  void CloseConsole() override;
  void StartSpeedTest() override;
  void onSpeedTestDone(const std::string& resultLine);
};

}  // namespace zen
