// The main window: a fixed 800 x 600 client area that shows the tracker.
#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPalette>
#include <QDateTime>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QScreen>
#include <QTimeZone>

#include "app/about_page.h"
#include "app/grid_headings.h"
#include "app/image_view.h"
#include "app/info_page.h"
#include "app/main_page.h"
#include "app/options_page.h"
#include "app/side_panel.h"
#include "app/program_folder.h"
#include "app/string_grid.h"
#include "display/canvas.h"
#include "display/fonts.h"
#include "display/map_background.h"
#include "display/map_primitives.h"
#include "display/projection.h"
#include "display/pointer.h"
#include "display/screen_shot.h"
#include "display/time_display.h"

namespace zen {

namespace {

// Areas of the client area: left, top, width, height.
const QRect kMapArea(3, 2, kMapImageWidth, kMapImageHeight);
const QRect kSidePanelArea(634, 0, 167, 417);
const QRect kTimePanelArea(634, 334, 158, 81);
const QRect kRadarArea(624, 419, kRadarImageWidth, kRadarImageHeight);
const QRect kPageArea(18, 400, 602, 169);
const QRect kPageTabsArea(18, 567, 602, 17);
const QRect kMessagePanelArea(260, 233, 185, 41);
const QRect kFooterArea(0, kFooterTop, kFooterWidth, kFooterHeight);

constexpr int kClockIntervalMs = 1000;
constexpr int kSidePanelShortHeight = 324;
// "Refresh" starts at "5" s until the settings say otherwise.
constexpr int kDefaultRefreshIndex = 1;
// Behind the pages and the side panel's controls.
const QColor kPanelColour(0x1C, 0x20, 0x24);

// Light text on dark controls, in keeping with the map: the client area itself is black.
QPalette DarkPalette() {
  QPalette p;
  p.setColor(QPalette::Window, Qt::black);
  p.setColor(QPalette::WindowText, QColor(0xD0, 0xD0, 0xD0));
  p.setColor(QPalette::Base, QColor(0x10, 0x14, 0x18));
  p.setColor(QPalette::AlternateBase, QColor(0x18, 0x1C, 0x20));
  p.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
  p.setColor(QPalette::Button, QColor(0x2A, 0x30, 0x36));
  p.setColor(QPalette::ButtonText, QColor(0xE0, 0xE0, 0xE0));
  p.setColor(QPalette::Highlight, QColor(0x2D, 0x6A, 0x8F));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::Link, QColor(0x6F, 0xB7, 0xE8));
  p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
  p.setColor(QPalette::ToolTipText, Qt::black);
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x70, 0x70, 0x70));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x70, 0x70, 0x70));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x70, 0x70, 0x70));
  return p;
}

void FillWithPanelColour(QWidget* widget) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Window, kPanelColour);
  widget->setPalette(p);
  widget->setAutoFillBackground(true);
}

}  // namespace

TMainWindow::TMainWindow(const TStartContext& start, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      start_(start),
      Img_(kMapImageWidth, kMapImageHeight, QImage::Format_RGB32),
      Lgo_(kRadarImageWidth, kRadarImageHeight, QImage::Format_RGB32),
      Tmx_(kTimePanelWidth, kTimePanelHeight, QImage::Format_RGB32) {
  if (!start_.clock) start_.clock = [] { return NowDateRec(); };
  if (!start_.detectedOffset) {
    start_.detectedOffset = [] {
      return QTimeZone::systemTimeZone().offsetFromUtc(QDateTime::currentDateTime()) / 3600.0;
    };
  }
  Img_.fill(Qt::black);
  Lgo_.fill(Qt::black);
  Tmx_.fill(Qt::black);
  BuildControls();
  footer_.Painted = [this] { update(kFooterArea); };
  clockTimer_.setInterval(kClockIntervalMs);
  connect(&clockTimer_, &QTimer::timeout, this, &TMainWindow::onClockTick);
  connect(&refreshTimer_, &QTimer::timeout, this, &TMainWindow::onRefreshTick);
  initialized_ = Initialize();
}

TMainWindow::~TMainWindow() {
  footer_.Painted = nullptr;
}

void TMainWindow::BuildControls() {
  setWindowTitle(QStringLiteral("Zenarith"));
  setFixedSize(kClientWidth, kClientHeight);
  setPalette(DarkPalette());
  setAutoFillBackground(true);

  mapView_ = new TImageView(&Img_, this);
  mapView_->setObjectName(QStringLiteral("Img"));
  mapView_->setGeometry(kMapArea);

  // The live table belongs to the side panel's "Info" list tab, which shows it.
  infoz_ = MakeLabelledGrid(this, 20, {62, 86});
  infoz_->setObjectName(QStringLiteral("infoz"));
  sidePanel_ = new TSidePanel(list_, infoz_, this);
  sidePanel_->setObjectName(QStringLiteral("sidePanel"));
  sidePanel_->setGeometry(kSidePanelArea);
  FillWithPanelColour(sidePanel_);
  connect(sidePanel_, &TSidePanel::TrackingChanged, this, &TMainWindow::onTrackingChanged);

  mapView_->onWheel = [this](int delta, Qt::KeyboardModifiers modifiers) {
    return onMapWheel(delta, modifiers);
  };

  // Shown by the time panel's "Show" check box, which shortens the side panel meanwhile.
  timePanel_ = new QWidget(this);
  timePanel_->setObjectName(QStringLiteral("timePanel"));
  timePanel_->setGeometry(kTimePanelArea);
  timePanel_->setAutoFillBackground(true);
  timePanel_->hide();
  timePanelView_ = new TImageView(&Tmx_, timePanel_);
  timePanelView_->setGeometry(0, 0, kTimePanelWidth, kTimePanelHeight);

  radarView_ = new TImageView(&Lgo_, this);
  radarView_->setObjectName(QStringLiteral("Lgo"));
  radarView_->setGeometry(kRadarArea);

  pages_ = new QStackedWidget(this);
  pages_->setObjectName(QStringLiteral("pages"));
  pages_->setGeometry(kPageArea);
  for (const char* caption : kPageTabCaptions) {
    auto* page = new QWidget(pages_);
    page->setObjectName(QString::fromLatin1(caption));
    FillWithPanelColour(page);
    pages_->addWidget(page);
  }
  infozO_ = MakeLabelledGrid(pages_->widget(kPageInfo), 17, {135, 133});
  infozO_->setObjectName(QStringLiteral("infozO"));
  infozO_->setGeometry(4, 4, 290, 160);
  resultz_ = MakeResultsGrid(pages_->widget(kPagePrediction), PassesColumnWidths());
  resultz_->setObjectName(QStringLiteral("resultz"));
  resultz_->setGeometry(4, 4, 512, 160);
  resultzF_ = MakeResultsGrid(pages_->widget(kPagePrediction), FlaresColumnWidths());
  resultzF_->setObjectName(QStringLiteral("resultzF"));
  resultzF_->setGeometry(4, 4, 512, 160);
  resultzF_->hide();
  versionLabel_ = BuildAboutPage(pages_->widget(kPageAbout));
  mainPage_ = new TMainPage(time_, pages_->widget(kPageMain));
  mainPage_->setGeometry(0, 0, kPageArea.width(), kPageArea.height());
  WireMainPage();
  optionsPage_ = new TOptionsPage(show_, pages_->widget(kPageOptions));
  optionsPage_->setGeometry(0, 0, kPageArea.width(), kPageArea.height());
  WireOptionsPage();
  infoPage_ = new TInfoPage(infoz_, infozO_, pages_->widget(kPageInfo), dialogs_);
  WireMouse();

  pageTabs_ = new QTabBar(this);
  pageTabs_->setObjectName(QStringLiteral("pageTabs"));
  pageTabs_->setShape(QTabBar::RoundedSouth);
  pageTabs_->setDrawBase(false);
  pageTabs_->setExpanding(false);
  pageTabs_->setFont(ZenFont(TFontFace::MsSansSerif, 8));
  for (const char* caption : kPageTabCaptions) pageTabs_->addTab(QString::fromLatin1(caption));
  pageTabs_->setGeometry(kPageTabsArea);
  setMouseTracking(true);
  connect(pageTabs_, &QTabBar::currentChanged, this, &TMainWindow::onPageTabChanged);

  messagePanel_ = new QLabel(QStringLiteral("Loading..."), this);
  messagePanel_->setObjectName(QStringLiteral("messagePanel"));
  messagePanel_->setGeometry(kMessagePanelArea);
  messagePanel_->setAlignment(Qt::AlignCenter);
  messagePanel_->setFont(ZenFontPixels(TFontFace::MsSansSerif, 19));
  messagePanel_->setAutoFillBackground(true);
  QPalette red = messagePanel_->palette();
  red.setColor(QPalette::Window, QColor(0xC0, 0x00, 0x00));
  red.setColor(QPalette::WindowText, Qt::white);
  messagePanel_->setPalette(red);
  messagePanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  messagePanel_->hide();
}

bool TMainWindow::Stop(int code, const QString& message) {
  stopCode_ = code;
  if (!message.isEmpty()) dialogs_.ShowError(message);
  return false;
}

bool TMainWindow::Initialize() {
  // A second instance ends here, silently.
  if (instance_.Acquire(start_.lockFolder) == TSingleInstance::TResult::HeldElsewhere) {
    return Stop(0, QString());
  }

  programFolder_ = ProgramFolderPath(start_.programFolder);
  infoPage_->SetProgramFolder(programFolder_);
  QString folderProblem = EnterProgramFolder(programFolder_);
  if (!folderProblem.isEmpty()) return Stop(1, folderProblem);
  activated_ = false;
  // Numbers read and written by Qt use "." whatever the machine's locale.
  QLocale::setDefault(QLocale::c());

  std::optional<TScreenInfo> screen = start_.screen;
  if (!screen) {
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
      screen = TScreenInfo{primary->size().width(), primary->size().height(), primary->depth()};
    }
  }
  plan_ = screen ? PlanWindow(screen->widthPx, screen->heightPx, screen->depthBits) : TWindowPlan{};
  if (!plan_.screenOk) return Stop(1, ScreenTooSmallText());
  ApplyWindowPlan();

  folderProblem = CreateWorkFolders(programFolder_);
  if (!folderProblem.isEmpty()) return Stop(1, folderProblem);

  TBitmapLoad load = LoadBitmaps(programFolder_, bitmaps_);
  if (!load.ok) return Stop(1, BitmapErrorText(load));

  DrawLogoArea();
  SetFixedHeadings();
  footer_.SendToFooter(kFooterHint, QString());
  versionLabel_->setText(QString::fromLatin1(kVersionText));
  return true;
}

void TMainWindow::ApplyWindowPlan() {
  fullScreenMode_ = plan_.fullScreen;
  Qt::WindowFlags flags = Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;
  if (fullScreenMode_) {
    flags |= Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  }
  setWindowFlags(flags);
  setFixedSize(kClientWidth, kClientHeight);
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          &TMainWindow::onApplicationStateChanged, Qt::UniqueConnection);
}

void TMainWindow::ShowAsPlanned() {
  if (fullScreenMode_) {
    showMaximized();
    return;
  }
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect desk = screen->availableGeometry();
    move(desk.x() + (desk.width() - kClientWidth) / 2,
         desk.y() + (desk.height() - kClientHeight) / 2);
  }
  show();
}

void TMainWindow::DrawLogoArea() {
  TCanvas canvas(Lgo_);
  DrawCentredOnBlack(canvas, bitmaps_.LogoBitmap);
  radarView_->update();
}

void TMainWindow::SetFixedHeadings() {
  SetHeadingRow(resultz_, PassesHeadings());
  SetHeadingRow(resultzF_, FlaresHeadings());
  SetLabelColumn(infozO_, OrbitLabels());
  SetLabelColumn(infoz_, LiveLabels());
}

void TMainWindow::RepaintMap() {
  mapView_->update();
}

void TMainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The first activation runs once the window is up, whether or not the window manager
  // hands it the focus.
  if (!activated_) QTimer::singleShot(0, this, &TMainWindow::FormActivate);
}

void TMainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TMainWindow::FormActivate() {
  if (activated_ || !initialized_) return;
  activated_ = true;
  {
    TCanvas canvas(Img_);
    DrawMapBackground(canvas, bitmaps_.WorldBitmap);
  }
  RepaintMap();
  ShowMsg();
  // The loaders of Iridium data, main settings and the location database come here in that
  // order. Until the main settings exist, the offset is the machine's.
  double savedOffset = start_.detectedOffset();
  // The "default" settings end by loading the element file and the tracked list; until they
  // exist, the command line names them.
  if (!start_.elementFile.isEmpty()) {
    list_.TrackedIds = start_.trackIds;
    list_.ActiveId = start_.trackIds.empty() ? std::string() : start_.trackIds.front();
    LoadElementFile(start_.elementFile);
  }
  time_.SetUTCOffset(savedOffset);
  mainPage_->SetOffsetLabel();
  site_ = DefaultSite();
  observer_ = UstawLokacje(site_);
  PobierzCzas();
  LiczWszo();
  DrawScreen(false);
  HideMsg();
  refreshTimer_.setInterval(kRefreshSeconds[static_cast<size_t>(mainPage_->RefreshIndex())] * 1000);
  refreshTimer_.start();
  clockTimer_.start();
  double before = time_.UtcOffsetHours();
  GuessTimeZone(false);
  if (time_.UtcOffsetHours() != before) ZmianaCzasu();
}

void TMainWindow::WireMainPage() {
  mainPage_->SetRefreshIndex(kDefaultRefreshIndex);
  // The time panel is shown until the settings say otherwise.
  mainPage_->SetTimePanelShown(true);
  mainPage_->detectedOffset = [this] { return start_.detectedOffset(); };
  mainPage_->beginAfterReturnToRt = [this] { return show_.beginAfterReturnToRt; };
  connect(mainPage_, &TMainPage::TimeChanged, this, &TMainWindow::ZmianaCzasu);
  connect(mainPage_, &TMainPage::TimeDisplayChanged, this, &TMainWindow::WyswietlCzas);
  connect(mainPage_, &TMainPage::SatOnTrackToBegin, this,
          [this] { show_.satOnTrack = TSatOnTrack::Begin; });
  connect(mainPage_, &TMainPage::RefreshChanged, this,
          [this](int seconds) { refreshTimer_.setInterval(seconds * 1000); });
  connect(mainPage_, &TMainPage::TimePanelToggled, this, &TMainWindow::SetTimePanelShown);
  SetTimePanelShown(mainPage_->TimePanelShown());
  connect(mainPage_->exitButton, &QPushButton::clicked, this, &QWidget::close);
  connect(mainPage_->minimizeButton, &QPushButton::clicked, this, &QWidget::showMinimized);
  connect(mainPage_->helpButton, &QPushButton::clicked, this, [this] {
    if (helpUnavailable_) {
      dialogs_.Inform(
          QStringLiteral("Can't display Help System because of problem with Internet Explorer."));
    }
  });
  connect(mainPage_->loadTleButton, &QPushButton::clicked, this, &TMainWindow::onLoadTleClicked);
  connect(mainPage_->screenShotButton, &QPushButton::clicked, this, [this] {
    ScreenShot(QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
  });
}

void TMainWindow::WireOptionsPage() {
  auto refresh = [this] {
    LiczWszo();
    DrawScreen(false);
  };
  connect(optionsPage_, &TOptionsPage::RefrAfterChg, this, refresh);
  connect(optionsPage_, &TOptionsPage::RadarChanged, this, refresh);
  // Tool tips of the whole application follow "Hints": the window's filter eats them when off.
  qApp->installEventFilter(this);
}

void TMainWindow::WireMouse() {
  mapView_->onMove = [this](QPoint pixel, Qt::MouseButtons, Qt::KeyboardModifiers) {
    onMapMove(pixel);
  };
  mapView_->onPress = [this](QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers) {
    onMapPress(pixel, button);
  };
  radarView_->onMove = [this](QPoint pixel, Qt::MouseButtons, Qt::KeyboardModifiers) {
    onRadarMove(pixel);
  };
  radarView_->onPress = [this](QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers) {
    onRadarPress(pixel, button);
  };
  timePanelView_->onPress = [this](QPoint pixel, Qt::MouseButton, Qt::KeyboardModifiers) {
    onTimePanelPress(pixel);
  };
  auto* quick = new QToolButton(sidePanel_);
  quick->setObjectName(QStringLiteral("quickMenuButton"));
  quick->setGeometry(kSidePanelWidth - kQuickMenuButtonSize, 0, kQuickMenuButtonSize,
                     kQuickMenuButtonSize);
  quick->setToolTip(QStringLiteral("Quick menu"));
  quick->hide();
  quickMenuButton_ = quick;
  for (QWidget* w : sidePanel_->findChildren<QWidget*>()) w->setMouseTracking(true);
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && !show_.hints) return true;
  if (event->type() == QEvent::MouseMove && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget == sidePanel_ || sidePanel_->isAncestorOf(widget)) {
      QPoint p = sidePanel_->mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
      if (QuickMenuZone(p.x(), p.y()) && quickMenuButton_->isHidden()) {
        quickMenuButton_->show();
        quickMenuButton_->raise();
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TMainWindow::onMapMove(QPoint pixel) {
  mouseOutside_ = false;
  footer_.SendToFooter(kFooterHint, MapReadout(Scene(), pixel.x(), pixel.y()));
}

void TMainWindow::onRadarMove(QPoint pixel) {
  footer_.SendToFooter(kFooterHint, RadarReadout(Scene(), pixel.x(), pixel.y()));
}

void TMainWindow::onMapPress(QPoint pixel, Qt::MouseButton button) {
  TPressDecision d = MapPress(Scene(), button == Qt::RightButton, pixel.x(), pixel.y());
  CarryOut(d, mapView_->mapToGlobal(pixel));
}

void TMainWindow::onRadarPress(QPoint pixel, Qt::MouseButton button) {
  TPressDecision d = RadarPress(Scene(), button == Qt::RightButton, pixel.x(), pixel.y());
  CarryOut(d, radarView_->mapToGlobal(pixel));
}

void TMainWindow::StopTracking(int position) { sidePanel_->RemoveAt(position); }

void TMainWindow::CarryOut(const TPressDecision& d, QPoint globalPos) {
  if (d.picked) pickedPoint_ = d.pickedPoint;
  switch (d.action) {
    case TPressAction::None:
      return;
    case TPressAction::OpenMapPopup: {
      // "Pick Location" joins this menu with the site editing.
      if (d.popupSat <= 0) return;
      QMenu menu(this);
      int position = d.popupSat;
      menu.addAction(d.stopTrackingCaption, this, [this, position] { StopTracking(position); });
      menu.exec(globalPos);
      return;
    }
    case TPressAction::SetActive:
      list_.ActiveSat = d.newActiveSat;
      sidePanel_->RefreshTracked(list_.TrackedTabView());
      LiczWszo();
      DrawScreen(false);
      return;
    case TPressAction::GoToMarker:
      time_.SetMode(TTimeMode::Simulation, show_.beginAfterReturnToRt);
      mainPage_->SyncFromModel();
      time_.SimTime = d.markerSimTime;
      ZmianaCzasu();
      if (d.middleAfter) {
        show_.satOnTrack = TSatOnTrack::Middle;
        optionsPage_->SyncFromOptions();
        LiczWszo();
        DrawScreen(false);
        time_.WentToEvent = true;
      }
      return;
    case TPressAction::StepRadarMode:
      optionsPage_->SetRadarState(static_cast<int>(d.radarMode));
      LiczWszo();
      DrawScreen(false);
      return;
  }
}

void TMainWindow::onTimePanelPress(QPoint pixel) {
  switch (TimePanelPress(time_, pixel.x(), pixel.y())) {
    case TTimePanelAction::None:
      return;
    case TTimePanelAction::ToggleMode:
      (time_.Mode() == TTimeMode::RealTime ? mainPage_->simulation : mainPage_->realTime)->click();
      return;
    case TTimePanelAction::PressAutoForward:
      mainPage_->autoForward->click();
      return;
    case TTimePanelAction::PressAutoBackward:
      mainPage_->autoBackward->click();
      return;
    case TTimePanelAction::ToggleScale:
      (time_.Display == TTimeDisplay::Utc ? mainPage_->showLocal : mainPage_->showUtc)->click();
      return;
    case TTimePanelAction::ToggleView:
      timePanelAltView_ = !timePanelAltView_;
      WyswietlCzas();
      return;
  }
}

void TMainWindow::ScreenShot(bool mapOnly) {
  quickMenuButton_->hide();
  QImage image = mapOnly ? Img_ : grab(QRect(0, 0, kClientWidth, kClientHeight)).toImage();
  TScreenShotResult result = SaveScreenShot(image, programFolder_, mapOnly);
  if (result.ok) {
    dialogs_.Inform(result.message);
  } else {
    dialogs_.ShowError(result.message);
  }
}

void TMainWindow::onLoadTleClicked() {
  QString file = dialogs_.ChooseFileToOpen(
      QStringLiteral("Load TLE"), programFolder_ + QStringLiteral("/Tle"),
      QStringLiteral("Two-line element (*.tle *.txt *.mtl);;All files (*)"));
  if (file.isEmpty()) return;
  ShowMsg();
  LoadElementFile(file);
  LiczWszo();
  DrawScreen(false);
  HideMsg();
}

void TMainWindow::LoadElementFile(const QString& file) {
  list_.TleFileName = StoredFileName(file.toStdString(), programFolder_.toStdString());
  std::string error;
  TTrackedView view = list_.zapodawajSatelity(programFolder_.toStdString(), &error);
  sidePanel_->RebuildLists(view);
  // An empty catalogue is what a missing or unreadable file gives; the alert says why.
  if (!error.empty()) {
    footer_.SendToFooter(kFooterAlert, QString::fromStdString(error));
  } else if (!QFileInfo::exists(file)) {
    footer_.SendToFooter(kFooterAlert, QStringLiteral("Element file not found: ") + file);
  }
}

void TMainWindow::PobierzCzas() { time_.PobierzCzas(start_.clock()); }

void TMainWindow::LiczWszo() { cycle_.LiczWszo(time_.NowUtc, observer_, list_, time_, show_); }

void TMainWindow::ZmianaCzasu() {
  mainPage_->simTime->setModified(false);
  PobierzCzas();
  LiczWszo();
  DrawScreen(false);
}

void TMainWindow::WyswietlCzas() {
  mainPage_->ShowTime(DisplayedTimeText(time_));
  {
    TCanvas canvas(Img_);
    DrawTimeLine(canvas, time_);
  }
  RepaintMap();
  if (!TimePanelShown()) return;
  DrawTimePanel(Tmx_, time_, timePanelAltView_);
  timePanelView_->update();
}

void TMainWindow::DrawScreen(bool backgroundOnly) {
  TMapScene scene = Scene();
  ::zen::DrawScreen(Img_, scene, backgroundOnly);
  if (!backgroundOnly) {
    mainPage_->ShowTime(DisplayedTimeText(time_));
    if (TimePanelShown()) {
      DrawTimePanel(Tmx_, time_, timePanelAltView_);
      timePanelView_->update();
    }
    TRadarDraw radar = radar_.DrawRadar(Lgo_, scene);
    radarView_->setCursor(radar.crosshair ? Qt::CrossCursor : Qt::ArrowCursor);
    if (radar.painted) radarView_->update();
    infoPage_->Fill(list_, cycle_);
  }
  RepaintMap();
}

double TMainWindow::GuessTimeZone(bool silent) {
  double detected = start_.detectedOffset();
  if (!silent && detected != time_.UtcOffsetHours()) {
    if (dialogs_.Ask(QString::fromStdString(TimeZoneQuestion(time_.UtcOffsetHours(), detected)))) {
      time_.SetUTCOffset(detected);
      mainPage_->SetOffsetLabel();
      // The main settings file keeps the adopted offset once it exists.
    }
  }
  return detected;
}

bool TMainWindow::TimePanelShown() const { return mainPage_->TimePanelShown(); }

void TMainWindow::SetTimePanelShown(bool shown) {
  sidePanel_->setGeometry(kSidePanelArea.x(), kSidePanelArea.y(), kSidePanelArea.width(),
                          shown ? kSidePanelShortHeight : kSidePanelArea.height());
  timePanel_->setVisible(shown);
  if (shown) WyswietlCzas();
}

void TMainWindow::onRefreshTick() {
  if (time_.Mode() == TTimeMode::RealTime) {
    LiczWszo();
    DrawScreen(false);
    return;
  }
  if (time_.AutoTick()) ZmianaCzasu();
}

void TMainWindow::onTrackingChanged() {
  LiczWszo();
  DrawScreen(false);
}

bool TMainWindow::onMapWheel(int delta, Qt::KeyboardModifiers modifiers) {
  if (time_.Mode() != TTimeMode::Simulation || mouseOutside_) return false;
  TWheelKeys keys;
  keys.shift = modifiers & Qt::ShiftModifier;
  keys.ctrl = modifiers & Qt::ControlModifier;
  keys.other = modifiers & (Qt::AltModifier | Qt::MetaModifier);
  time_.SimTime += time_.WheelStep(delta, keys);
  ZmianaCzasu();
  return true;
}

void TMainWindow::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  mouseOutside_ = true;
  footer_.SendToFooter(kFooterHint, QString());
  quickMenuButton_->hide();
}

void TMainWindow::mouseMoveEvent(QMouseEvent* event) {
  // Only moves over the window's own surface (the footer strip and the gaps) arrive here.
  QWidget::mouseMoveEvent(event);
  if (!mouseOutside_) {
    mouseOutside_ = true;
    footer_.SendToFooter(kFooterHint, QString());
  }
  quickMenuButton_->hide();
}

void TMainWindow::ShowMsg() {
  messagePanel_->show();
  messagePanel_->raise();
  repaint();
  setUpdatesEnabled(false);
}

void TMainWindow::HideMsg() {
  messagePanel_->hide();
  setUpdatesEnabled(true);
  repaint();
}

void TMainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(kFooterArea.topLeft(), footer_.Strip());
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

bool TMainWindow::FormCloseQuery() {
  // A changed location database is saved here, before the question and whatever the answer.
  return dialogs_.Ask(QStringLiteral("Do you really want to exit?"));
}

void TMainWindow::FormClose() {
  // The main settings file, and the "default" settings when "Auto save" is checked, are
  // written here.
  clockTimer_.stop();
  refreshTimer_.stop();
  QCoreApplication::quit();
}

void TMainWindow::onClockTick() {
  PobierzCzas();
  WyswietlCzas();
  footer_.ExpireFooter();
}

void TMainWindow::onApplicationStateChanged(Qt::ApplicationState state) {
  if (fullScreenMode_ && state == Qt::ApplicationInactive && isVisible()) showMinimized();
}

void TMainWindow::onPageTabChanged(int index) {
  pages_->setCurrentIndex(index);
}

}  // namespace zen
