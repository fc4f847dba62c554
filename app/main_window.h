// The main window: puts the pages, panels, pictures, timers and command owners together in a
// client area of 800 x 600 or more.
#pragma once

#include <QImage>
#include <QLabel>
#include <QStackedWidget>
#include <QString>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/console_commands.h"
#include "app/exit_commands.h"
#include "app/key_commands.h"
#include "app/location_commands.h"
#include "app/pointer_commands.h"
#include "app/prediction_commands.h"
#include "app/quick_menu.h"
#include "app/screen.h"
#include "app/search_dialog.h"
#include "app/settings_commands.h"
#include "app/show_commands.h"
#include "app/single_instance.h"
#include "app/time_commands.h"
#include "app/tracker.h"
#include "app/tracking_commands.h"
#include "app/station_commands.h"
#include "app/update_commands.h"
#include "app/user_dialogs.h"
#include "app/window_commands.h"
#include "app/window_plan.h"
#include "display/bitmaps.h"
#include "display/footer.h"

namespace zen {

class TConsolePanel;
class TImageView;
class TInfoPage;
class TLocationPage;
class TMainPage;
class TOptionsPage;
class TPassWindow;
class TPredictionPage;
class TPredictionSetupPage;
class TSidePanel;

struct TScreenInfo {
  int widthPx = 0;
  int heightPx = 0;
  int depthBits = 0;
};

// Where the program keeps its files, where the instance lock lives, and the screen to plan
// the window for (empty: the primary screen). Tests use temporary folders and chosen screens.
struct TStartContext {
  QString programFolder;
  // For a per-user program folder: the shipped data tree its missing files come from.
  QString shippedData;
  QString lockFolder;
  std::optional<TScreenInfo> screen;
  // An element file (absolute path) to load at start, and catalogue numbers to track in it.
  QString elementFile;
  std::vector<std::string> trackIds;
  bool trackAll = false;  // every set of elementFile
  // The machine's local clock and its UTC offset in hours; tests give fixed ones.
  std::function<TDateRec()> clock;
  std::function<double()> detectedOffset;
};

inline constexpr std::array<const char*, 7> kPageTabCaptions = {
    "Main", "Options", "Location", "Sat/Orbit Info", "Prediction - Setup", "Prediction", "About"};
enum TPage {
  kPageMain,
  kPageOptions,
  kPageLocation,
  kPageInfo,
  kPageSetup,
  kPagePrediction,
  kPageAbout
};

class TMainWindow : public QWidget {
  Q_OBJECT

 public:
  // Builds the controls and runs Initialize; when that stops the program, Initialized() is
  // false and the window must not be shown.
  TMainWindow(const TStartContext& start, UserDialogs& dialogs, QWidget* parent = nullptr);
  ~TMainWindow() override;

  bool Initialized() const { return initialized_; }
  // The process exit code when Initialize stopped the program: 0 for a second instance.
  int StopCode() const { return stopCode_; }
  // Shown maximized in full-screen mode, else at the centred position.
  void ShowAsPlanned();

  const QString& ProgramFolder() const { return programFolder_; }
  bool FullScreenMode() const { return fullScreenMode_; }
  bool Activated() const { return activated_; }

  // The "Loading..." notice: shown and painted at once, then the window is frozen until
  // HideMsg.
  void ShowMsg();
  void HideMsg();

  // The model and the owners of every command.
  TTracker& Tracker() { return *tracker_; }
  TTimeCommands& TimeCommands() { return *time_; }
  TShowCommands& ShowCommands() { return *show_; }
  TTrackingCommands& TrackingCommands() { return *tracking_; }
  TUpdateCommands& UpdateCommands() { return *update_; }
  TStationCommands& StationCommands() { return *station_; }
  TWindowCommands& WindowCommands() { return *window_; }
  TSettingsCommands& SettingsCommands() { return *settings_; }
  TLocationCommands& LocationCommands() { return *location_; }
  TExitCommands& ExitCommands() { return *exit_; }
  TKeyCommands& KeyCommands() { return *keys_; }
  TQuickMenu& QuickMenu() { return *quickMenu_; }
  TPointerCommands& Pointer() { return *pointer_; }
  TPredictionCommands& PredictionCommands() { return *prediction_; }
  TConsoleCommands& ConsoleCommands() { return *console_; }

  TSatelliteList& Satellites() { return tracker_->list; }
  const TTimeControl& Time() const { return tracker_->time; }
  const TComputeCycle& Cycle() const { return tracker_->cycle; }
  const TShowOptions& Show() const { return tracker_->show; }
  const TFooter& Footer() const { return footer_; }
  const TBitmaps& Bitmaps() const { return bitmaps_; }
  const QImage& MapImage() const { return screen_->Img; }
  const QImage& RadarImage() const { return screen_->Lgo; }
  const QImage& TimePanelImage() const { return screen_->Tmx; }
  // The world drawn from the outlines for the map as it now is; null while the bitmap stands in.
  const QImage& WorldImage() const { return screen_->LargeWorld(); }
  QTimer& ClockTimer() { return time_->clockTimer; }
  QTimer& RefreshTimer() { return time_->refreshTimer; }
  TSidePanel* SidePanel() const { return sidePanel_; }
  TMainPage* MainPage() const { return mainPage_; }
  TOptionsPage* OptionsPage() const { return optionsPage_; }
  TInfoPage* InfoPage() const { return infoPage_; }
  TLocationPage* LocationPage() const { return locationPage_; }
  TPredictionSetupPage* PredictionSetupPage() const { return setupPage_; }
  TPredictionPage* PredictionPage() const { return predictionPage_; }
  TForm3* SearchDialog() const { return form3_; }
  TPassWindow* PassWindow() const { return passWindow_; }
  TConsolePanel* ConsolePanel() const { return consolePanel_; }
  bool TimePanelShown() const { return !timePanel_->isHidden(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  UserDialogs& dialogs_;
  TStartContext start_;
  TSingleInstance instance_;
  bool initialized_ = false;
  int stopCode_ = 0;
  TWindowPlan plan_;
  QString programFolder_;
  bool fullScreenMode_ = false;
  bool activated_ = false;

  TBitmaps bitmaps_;
  TFooter footer_;
  TTracker* tracker_;
  TTimeCommands* time_;
  TShowCommands* show_;
  TTrackingCommands* tracking_;
  TUpdateCommands* update_;
  TStationCommands* station_;
  TWindowCommands* window_;
  TSettingsCommands* settings_;
  TLocationCommands* location_;
  TExitCommands* exit_;
  std::unique_ptr<TScreen> screen_;
  TPointerCommands* pointer_ = nullptr;
  TKeyCommands* keys_ = nullptr;
  TQuickMenu* quickMenu_ = nullptr;
  TForm3* form3_ = nullptr;
  TPredictionCommands* prediction_ = nullptr;
  TConsoleCommands* console_ = nullptr;
  TConsolePanel* consolePanel_ = nullptr;

  TSidePanel* sidePanel_ = nullptr;
  QTableWidget* skyTable_ = nullptr;  // below the live table: the J2000 place and the Moon
  QWidget* timePanel_ = nullptr;
  TMainPage* mainPage_ = nullptr;
  TOptionsPage* optionsPage_ = nullptr;
  TInfoPage* infoPage_ = nullptr;
  TLocationPage* locationPage_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QTabBar* pageTabs_ = nullptr;
  QLabel* messagePanel_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  TPredictionSetupPage* setupPage_ = nullptr;
  TPredictionPage* predictionPage_ = nullptr;
  TPassWindow* passWindow_ = nullptr;
  // The control each page tab focuses when its key shows it.
  std::array<QWidget*, kPageTabCaptions.size()> pageFocus_{};

  // Where everything sits for the present size, and the pixel ratio the pictures are for.
  TWindowLayout layout_ = LayOutWindow(kClientWidth, kClientHeight);
  qreal laidOutRatio_ = 1.0;

  void BuildControls();
  // Moves the controls and sizes the pictures for the window's size and screen, then redraws.
  Q_SLOT void LayOut();
  void BuildPages(QTableWidget* liveTable);
  bool Initialize();
  bool Stop(int code, const QString& message);
  void ApplyWindowPlan();
  void FormActivate();
  // After a change of the model every picture is drawn again; after a change of the time
  // display only the time texts.
  void onModelChanged();
  void onTimeShown();
  // The time panel, when shown, takes the foot of the side panel's place.
  void PlaceTimePanel();
  void onApplicationStateChanged(Qt::ApplicationState state);
  // TabSet2Change by key: the page and the focus on its control.
  void ShowPage(int index);
};

}  // namespace zen
