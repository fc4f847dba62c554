// The "Location" page with a database at its 5,000-entry limit: filling the list, choosing an
// entry (the fields filled from it) and typing a name prefix into the edit line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>

#include "app/location_page.h"

namespace {

// No box is ever shown while measuring.
class TSilentDialogs : public zen::UserDialogs {
 public:
  bool Ask(const QString&) override { return false; }
  bool AskDefaultNo(const QString&) override { return false; }
  zen::TAnswer AskYesNoCancel(const QString&) override { return zen::TAnswer::Cancel; }
  void Inform(const QString&) override {}
  void ShowError(const QString&) override {}
  QString ChooseFileToOpen(const QString&, const QString&, const QString&) override { return {}; }
  QString ChooseFileToSave(const QString&, const QString&, const QString&, QString*) override {
    return {};
  }
  int ChooseSaveContent(int) override { return -1; }
};

struct TPageAtLimit {
  TSilentDialogs dialogs;
  zen::TTracker tracker{nullptr};
  zen::TLocationCommands commands{tracker, dialogs};
  zen::TLocationPage page{tracker, commands};

  TPageAtLimit() {
    zen::TLocationDb& db = commands.Database();
    for (int i = 0; i < zen::MaxLocations; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "Place %05d", i);
      db.Names.emplace_back(name);
      db.LocationTable.push_back({50.0 + i * 1e-4, 18.0 - i * 1e-4, 100.0, "PL"});
    }
  }
};

void BM_FillListOf5000(benchmark::State& state) {
  TPageAtLimit p;
  for (auto _ : state) emit p.commands.DatabaseChanged(-1);
  state.counters["rows"] = p.page.list->count();
}
BENCHMARK(BM_FillListOf5000)->Unit(benchmark::kMillisecond);

void BM_ChooseEntries(benchmark::State& state) {
  TPageAtLimit p;
  emit p.commands.DatabaseChanged(-1);
  int row = 0;
  for (auto _ : state) {
    p.page.list->setCurrentRow(row);
    row = (row + 997) % zen::MaxLocations;
  }
}
BENCHMARK(BM_ChooseEntries)->Unit(benchmark::kMicrosecond);

void BM_TypePrefix(benchmark::State& state) {
  TPageAtLimit p;
  emit p.commands.DatabaseChanged(-1);
  for (auto _ : state) emit p.page.listLine->textEdited(QStringLiteral("Place 049"));
}
BENCHMARK(BM_TypePrefix)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
