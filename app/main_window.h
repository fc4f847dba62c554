// The main window: a fixed 800 x 600 client area that shows the tracker.
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
#include <optional>
#include <string>
#include <vector>

#include "app/single_instance.h"
#include "app/user_dialogs.h"
#include "app/window_plan.h"
#include "display/bitmaps.h"
#include "display/footer.h"
#include "display/map_screen.h"
#include "display/pointer.h"
#include "display/radar_view.h"
#include "display/show_options.h"
#include "tracking/compute_cycle.h"
#include "tracking/satellite_list.h"
#include "tracking/site.h"
#include "tracking/time_control.h"

namespace zen {

class TImageView;
class TInfoPage;
class TMainPage;
class TOptionsPage;
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
  QString lockFolder;
  std::optional<TScreenInfo> screen;
  // An element file (absolute path) to load at start, and catalogue numbers to track in it.
  QString elementFile;
  std::vector<std::string> trackIds;
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
  bool HelpUnavailable() const { return helpUnavailable_; }

  void SendToFooter(int slot, const QString& text) { footer_.SendToFooter(slot, text); }
  const TFooter& Footer() const { return footer_; }
  const TBitmaps& Bitmaps() const { return bitmaps_; }
  const QImage& MapImage() const { return Img_; }
  const QImage& RadarImage() const { return Lgo_; }
  QTimer& ClockTimer() { return clockTimer_; }

  // The "Loading..." notice: shown and painted at once, then the window is frozen until
  // HideMsg.
  void ShowMsg();
  void HideMsg();

  TSatelliteList& Satellites() { return list_; }
  TTimeControl& Time() { return time_; }
  const TComputeCycle& Cycle() const { return cycle_; }
  TSidePanel* SidePanel() const { return sidePanel_; }
  TMainPage* MainPage() const { return mainPage_; }
  TOptionsPage* OptionsPage() const { return optionsPage_; }
  TInfoPage* InfoPage() const { return infoPage_; }
  const TShowOptions& Show() const { return show_; }
  const TRadarView& Radar() const { return radar_; }
  QWidget* QuickMenuButton() const { return quickMenuButton_; }
  QTimer& RefreshTimer() { return refreshTimer_; }
  const QImage& TimePanelImage() const { return Tmx_; }
  bool TimePanelShown() const;

  // "Load TLE": the file dialog, then the load.
  void onLoadTleClicked();
  // Loads an element file as "Load TLE" does once a file is chosen.
  void LoadElementFile(const QString& file);

  void PobierzCzas();
  void LiczWszo();
  void ZmianaCzasu();
  void WyswietlCzas();
  void DrawScreen(bool backgroundOnly);
  // The machine's offset; unless silent, offers to adopt it when it differs from the one in use.
  double GuessTimeZone(bool silent);
  void SetTimePanelShown(bool shown);
  // One refresh tick, as the refresh timer gives it.
  void onRefreshTick();
  // "Screen shot": the whole window, or with mapOnly the map alone.
  void ScreenShot(bool mapOnly);
  // The pointer over the map, the radar and the time panel, in their image pixels.
  void onMapMove(QPoint pixel);
  void onMapPress(QPoint pixel, Qt::MouseButton button);
  void onRadarMove(QPoint pixel);
  void onRadarPress(QPoint pixel, Qt::MouseButton button);
  void onTimePanelPress(QPoint pixel);
  // The stop-tracking entry of the map popup, for the satellite at a tracked position.
  void StopTracking(int position);
  // Watches the whole application: tool tips follow "Hints", and the pointer entering the side
  // panel's corner brings up the quick-menu button.
  bool eventFilter(QObject* watched, QEvent* event) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  UserDialogs& dialogs_;
  TStartContext start_;
  TSingleInstance instance_;
  bool initialized_ = false;
  int stopCode_ = 0;
  TWindowPlan plan_;

  QString programFolder_;
  bool fullScreenMode_ = false;
  // No help window exists yet, so the Help command can only say so.
  bool helpUnavailable_ = true;
  bool activated_ = false;

  TBitmaps bitmaps_;
  TShowOptions show_;
  TFooter footer_;
  QImage Img_;  // the map
  QImage Lgo_;  // the radar or the logo
  QTimer clockTimer_;
  QTimer refreshTimer_;
  QImage Tmx_;  // the time panel
  bool timePanelAltView_ = false;
  // Set when the mouse leaves the window's own surface, cleared by a move over the map.
  bool mouseOutside_ = true;

  TSatelliteList list_;
  TTimeControl time_;
  TComputeCycle cycle_;
  TSite site_;
  TGeodetic observer_;

  TImageView* mapView_ = nullptr;
  TImageView* radarView_ = nullptr;
  TSidePanel* sidePanel_ = nullptr;
  TMainPage* mainPage_ = nullptr;
  TImageView* timePanelView_ = nullptr;
  TOptionsPage* optionsPage_ = nullptr;
  TInfoPage* infoPage_ = nullptr;
  QWidget* quickMenuButton_ = nullptr;
  TRadarView radar_;
  TMapPoint pickedPoint_;
  QWidget* timePanel_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QTabBar* pageTabs_ = nullptr;
  QLabel* messagePanel_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  QTableWidget* resultz_ = nullptr;
  QTableWidget* resultzF_ = nullptr;
  QTableWidget* infozO_ = nullptr;
  QTableWidget* infoz_ = nullptr;

  void BuildControls();
  bool Initialize();
  bool Stop(int code, const QString& message);
  void ApplyWindowPlan();
  void DrawLogoArea();
  void SetFixedHeadings();
  void FormActivate();
  bool FormCloseQuery();
  void FormClose();
  void RepaintMap();

  void onClockTick();
  void onTrackingChanged();
  bool onMapWheel(int delta, Qt::KeyboardModifiers modifiers);
  void WireMainPage();
  void WireOptionsPage();
  void WireMouse();
  TMapScene Scene() const { return TMapScene{list_, cycle_, site_, show_, bitmaps_, time_}; }
  void CarryOut(const TPressDecision& decision, QPoint globalPos);
  void onApplicationStateChanged(Qt::ApplicationState state);
  void onPageTabChanged(int index);
};

}  // namespace zen
