// The main window: puts the pages, panels, pictures, timers and command owners together in a
// client area of 800 x 600 or more.
#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QTimeZone>
#include <QWindow>

#include "app/about_page.h"
#include "app/console_panel.h"
#include "app/grid_headings.h"
#include "app/info_page.h"
#include "app/live_pane.h"
#include "app/location_page.h"
#include "app/main_page.h"
#include "app/options_page.h"
#include "app/pass_window.h"
#include "app/prediction_page.h"
#include "app/prediction_setup_page.h"
#include "app/program_folder.h"
#include "app/side_panel.h"
#include "app/string_grid.h"
#include "app/window_look.h"
#include "cli/program_home.h"
#include "display/fonts.h"
#include "display/projection.h"
#include "display/vector_map.h"
#include "tracking/info_texts.h"

namespace zen {

namespace {

// The documented layout the controls are made in; resizing moves them from there.
const TWindowLayout kFirstLayout = LayOutWindow(kClientWidth, kClientHeight);

// The information tables' columns in the documented layout.
constexpr int kLiveLabelWidth = 62;
constexpr int kLiveValueWidth = 86;
constexpr int kOrbitLabelWidth = 135;
constexpr int kOrbitValueWidth = 133;

}  // namespace

TMainWindow::TMainWindow(const TStartContext& start, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), start_(start) {
  if (!start_.clock) start_.clock = [] { return NowDateRec(); };
  if (!start_.detectedOffset) {
    start_.detectedOffset = [] {
      return QTimeZone::systemTimeZone().offsetFromUtc(QDateTime::currentDateTime()) / 3600.0;
    };
  }
  tracker_ = new TTracker(start_.clock, this);
  time_ = new TTimeCommands(*tracker_, start_.detectedOffset, dialogs_, this);
  show_ = new TShowCommands(*tracker_, this);
  tracking_ = new TTrackingCommands(*tracker_, footer_, dialogs_, this);
  tracking_->busyStarts = [this] { ShowMsg(); };
  tracking_->busyEnds = [this] { HideMsg(); };
  update_ = new TUpdateCommands(*tracking_, this, this);
  station_ = new TStationCommands(*tracker_, dialogs_, this, this);
  window_ = new TWindowCommands(
      *this, [this]() -> const QImage& { return screen_->Img; }, dialogs_, this);
  settings_ =
      new TSettingsCommands(*tracker_, *time_, *tracking_, dialogs_, start_.detectedOffset, this);
  location_ = new TLocationCommands(*tracker_, dialogs_, this);
  exit_ = new TExitCommands(*settings_, *location_, *time_, dialogs_, this);
  exit_->notesKept = [this] { return infoPage_->KeepNotesBeforeExit(); };
  location_->busyStarts = [this] { ShowMsg(); };
  location_->busyEnds = [this] { HideMsg(); };
  settings_->siteLoaded = [this] { location_->ShowSite(); };
  // The search progress dialog belongs to the prediction commands, centred on this window.
  form3_ = new TForm3(this);
  prediction_ = new TPredictionCommands(*tracker_, *time_, *tracking_, footer_, dialogs_, *form3_,
                                        this);
  settings_->busyStarts = [this] { ShowMsg(); };
  settings_->busyEnds = [this] { HideMsg(); };
  // The machine's offset adopted at start is kept in the main file at once.
  time_->offsetAdopted = [this] { settings_->sejwujSetUpMain(); };
  BuildControls();
  footer_.Painted = [this] { update(layout_.footer); };
  connect(&time_->clockTimer, &QTimer::timeout, this, [this] { footer_.ExpireFooter(); });
  connect(tracker_, &TTracker::Changed, this, &TMainWindow::onModelChanged);
  connect(tracker_, &TTracker::TimeShown, this, &TMainWindow::onTimeShown);
  // Tool tips of the whole application follow "Hints".
  qApp->installEventFilter(show_);
  qApp->installEventFilter(keys_);
  initialized_ = Initialize();
  // The help window comes after the other windows; the program starts without it.
  if (initialized_) window_->CreateHelpWindow();
}

TMainWindow::~TMainWindow() {
  // A search still finishing stops and its thread is waited for before anything goes; so does
  // the drawing of the world.
  prediction_->StopSearch();
  screen_->StopWorld();
  qApp->removeEventFilter(show_);
  qApp->removeEventFilter(keys_);
  footer_.Painted = nullptr;
  time_->StopTimers();
  // Controls leaving with the window (a field losing the focus) may still run commands; the
  // model goes on, but nothing draws into pictures that are going away.
  tracker_->disconnect(this);
  qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

void TMainWindow::BuildControls() {
  setWindowTitle(QStringLiteral("Zenarith"));
  setMinimumSize(kClientWidth, kClientHeight);
  resize(kClientWidth, kClientHeight);
  setPalette(DarkPalette());
  setAutoFillBackground(true);
  setMouseTracking(true);

  // Shown by the time panel's "Show" check box, which shortens the side panel meanwhile.
  timePanel_ = new QWidget(this);
  timePanel_->setObjectName(QStringLiteral("timePanel"));
  timePanel_->setGeometry(kFirstLayout.timePanel);
  timePanel_->setAutoFillBackground(true);
  timePanel_->hide();
  screen_ = std::make_unique<TScreen>(*tracker_, bitmaps_, this, timePanel_);
  screen_->worldReady = [this] { screen_->DrawScreen(!activated_); };
  screen_->worldLoadFailed = [this](const QString& problem) {
    footer_.SendToFooter(kFooterAlert, VectorMapProblemText(problem));
  };
  screen_->worldTooHeavy = [this] {
    footer_.SendToFooter(kFooterAlert, VectorMapTooHeavyText(
                                           static_cast<int>(screen_->WorldDrawingLimit().count())));
  };
  screen_->mapView->setGeometry(kFirstLayout.map);
  screen_->radarView->setGeometry(kFirstLayout.radar);
  pointer_ = new TPointerCommands(*screen_, *tracker_, *time_, *show_, *tracking_, *location_,
                                  footer_, this);

  // The live table belongs to the side panel's "Info" list tab, which shows it with the sky's
  // table below it; the documented rows set the face of both.
  auto* livePane = new TLivePane(this);
  const int liveWidth = livePane->ContentWidth(kFirstLayout.sidePanel.width());
  TLabelledGrid* infoz =
      new TLabelledGrid(this, kLiveRows, kLiveLabelWidth, kLiveValueWidth, liveWidth);
  infoz->setObjectName(QStringLiteral("infoz"));
  SetLabelColumn(infoz, LabelList(kLiveLabels));
  infoz->FitFont(TextList(WidestLiveValues()));
  skyTable_ = new TLabelledGrid(this, kLiveMoreRows, kLiveLabelWidth, kLiveValueWidth, liveWidth);
  skyTable_->setObjectName(QStringLiteral("infozSky"));
  SetLabelColumn(skyTable_, LabelList(kLiveMoreLabels));
  skyTable_->setFont(infoz->font());
  livePane->Hold(infoz, skyTable_);
  sidePanel_ = new TSidePanel(*tracker_, *tracking_, livePane, this);
  sidePanel_->setObjectName(QStringLiteral("sidePanel"));
  sidePanel_->setGeometry(kFirstLayout.sidePanel);
  FillWithPanelColour(sidePanel_);
  tracking_->SetLists(sidePanel_);
  window_->beforeScreenShot = [this] { sidePanel_->HideQuickMenuButtonForShot(); };
  window_->afterScreenShot = [this] { sidePanel_->RestoreQuickMenuButton(); };

  BuildPages(infoz);
  console_ = new TConsoleCommands(*tracker_, *settings_, *location_, *screen_, *infoz, this);
  consolePanel_ = new TConsolePanel(*console_, this);
  consolePanel_->setGeometry(kFirstLayout.pages);
  messagePanel_ = MakeLoadingNotice(this, kFirstLayout.messagePanel);
  keys_ = new TKeyCommands(
      *this, *tracker_, *time_, *show_, *window_, *sidePanel_, footer_, *console_,
      *station_->openStation, [this](int page) { ShowPage(page); }, this);
  quickMenu_ = new TQuickMenu(*tracking_, *update_, *station_, *settings_, *time_, *show_,
                              *window_, this);
  keys_->openQuickMenu = [this] { quickMenu_->OpenBeside(*sidePanel_->QuickMenuButton()); };
  connect(sidePanel_->QuickMenuButton(), &QToolButton::clicked, this,
          [this] { keys_->openQuickMenu(); });
  // Once the quick menu has been found, the banner of a first start has said what it had to.
  connect(quickMenu_, &QMenu::aboutToShow, this, [this] { footer_.SetBanner(QString()); });
}

void TMainWindow::BuildPages(QTableWidget* liveTable) {
  pages_ = new QStackedWidget(this);
  pages_->setObjectName(QStringLiteral("pages"));
  pages_->setGeometry(kFirstLayout.pages);
  for (const char* caption : kPageTabCaptions) {
    auto* page = new QWidget(pages_);
    page->setObjectName(QString::fromLatin1(caption));
    FillWithPanelColour(page);
    pages_->addWidget(page);
  }
  TLabelledGrid* infozO = new TLabelledGrid(pages_->widget(kPageInfo), kOrbitRows, kOrbitLabelWidth,
                                            kOrbitValueWidth, kOrbitTableWidth);
  infozO->setObjectName(QStringLiteral("infozO"));
  infozO->setGeometry(kOrbitTablePlace);
  SetLabelColumn(infozO, LabelList(kOrbitLabels));
  infozO->FitFont(TextList(WidestOrbitValues()));
  versionLabel_ = BuildAboutPage(pages_->widget(kPageAbout));
  mainPage_ =
      new TMainPage(*tracker_, *time_, *window_, *tracking_, *update_, pages_->widget(kPageMain));
  mainPage_->setGeometry(0, 0, kFirstLayout.pages.width(), kFirstLayout.pages.height());
  optionsPage_ = new TOptionsPage(*show_, *settings_, pages_->widget(kPageOptions));
  optionsPage_->setGeometry(0, 0, kFirstLayout.pages.width(), kFirstLayout.pages.height());
  locationPage_ = new TLocationPage(*tracker_, *location_, pages_->widget(kPageLocation));
  locationPage_->setGeometry(0, 0, kFirstLayout.pages.width(), kFirstLayout.pages.height());
  infoPage_ = new TInfoPage(*tracker_, liveTable, skyTable_, infozO, pages_->widget(kPageInfo),
                            dialogs_);
  setupPage_ = new TPredictionSetupPage(*tracker_, *prediction_, pages_->widget(kPageSetup));
  setupPage_->setGeometry(0, 0, kFirstLayout.pages.width(), kFirstLayout.pages.height());
  predictionPage_ = new TPredictionPage(*prediction_, pages_->widget(kPagePrediction));
  predictionPage_->setGeometry(0, 0, kFirstLayout.pages.width(), kFirstLayout.pages.height());
  passWindow_ = new TPassWindow(dialogs_, this);
  passWindow_->spareArea = [this] {
    return QRect(screen_->mapView->mapToGlobal(QPoint(0, 0)), screen_->mapView->size());
  };
  connect(prediction_, &TPredictionCommands::DetailsChosen, passWindow_, &TPassWindow::ShowPlot);

  pageTabs_ = new QTabBar(this);
  pageTabs_->setObjectName(QStringLiteral("pageTabs"));
  pageTabs_->setShape(QTabBar::RoundedSouth);
  pageTabs_->setDrawBase(false);
  pageTabs_->setExpanding(false);
  pageTabs_->setFont(ZenFont(TFontFace::MsSansSerif, 8));
  for (const char* caption : kPageTabCaptions) pageTabs_->addTab(QString::fromLatin1(caption));
  pageTabs_->setGeometry(kFirstLayout.pageTabs);
  connect(pageTabs_, &QTabBar::currentChanged, pages_, &QStackedWidget::setCurrentIndex);
  pageFocus_ = {mainPage_->realTime,
                optionsPage_->sun,
                locationPage_->list,
                infozO,
                setupPage_->periodGroup,
                predictionPage_->predictButton,
                pageTabs_};
  // A group hands the focus on to its checked choice or first control.
  for (QWidget* target : pageFocus_) {
    if (target->focusPolicy() == Qt::NoFocus && qobject_cast<QGroupBox*>(target) == nullptr) {
      target->setFocusPolicy(Qt::TabFocus);
    }
  }
}

void TMainWindow::ShowPage(int index) {
  if (index < 0 || index >= pageTabs_->count()) return;
  pageTabs_->setCurrentIndex(index);
  pageFocus_[static_cast<size_t>(index)]->setFocus(Qt::ShortcutFocusReason);
}

bool TMainWindow::Stop(int code, const QString& message) {
  stopCode_ = code;
  if (!message.isEmpty()) dialogs_.ShowError(message);
  return false;
}

bool TMainWindow::Initialize() {
  // A second instance ends here, silently; a lock that is none ends the start with a word on
  // it, and one that cannot be made is said and the program runs on.
  switch (instance_.Acquire(start_.lockFolder)) {
    case TSingleInstance::TResult::HeldElsewhere:
      return Stop(0, QString());
    case TSingleInstance::TResult::Invalid:
      return Stop(1, instance_.Problem());
    case TSingleInstance::TResult::Unavailable:
      dialogs_.ShowError(instance_.Problem());
      break;
    case TSingleInstance::TResult::Acquired:
      break;
  }

  programFolder_ = ProgramFolderPath(start_.programFolder);
  if (!start_.shippedData.isEmpty()) {
    // Under the instance lock, so two starts never fill the folder at once.
    std::string problem =
        cli::AddShippedFiles(start_.shippedData.toStdString(), start_.programFolder.toStdString());
    if (!problem.empty()) return Stop(1, QString::fromStdString(problem));
  }
  infoPage_->SetProgramFolder(programFolder_);
  tracking_->SetProgramFolder(programFolder_);
  update_->SetProgramFolder(programFolder_);
  station_->SetProgramFolder(programFolder_);
  settings_->SetProgramFolder(programFolder_);
  location_->SetProgramFolder(programFolder_);
  window_->SetProgramFolder(programFolder_);
  prediction_->SetProgramFolder(programFolder_);
  passWindow_->SetProgramFolder(programFolder_);
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

  screen_->DrawLogoArea();
  footer_.SendToFooter(kFooterHint, QString());
  // The world for maps larger than its bitmap, read while the window starts; without it they
  // show the bitmap smoothed, and the footer says why.
  screen_->LoadVectorMap(programFolder_ + QStringLiteral("Data/world.vec"));
  versionLabel_->setText(QString::fromLatin1(kVersionText));
  onTimeShown();
  return true;
}

void TMainWindow::ApplyWindowPlan() {
  fullScreenMode_ = plan_.fullScreen;
  Qt::WindowFlags flags = Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;
  if (fullScreenMode_) {
    flags |= Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
             Qt::WindowMaximizeButtonHint;
  }
  setWindowFlags(flags);
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          &TMainWindow::onApplicationStateChanged, Qt::UniqueConnection);
}

void TMainWindow::ShowAsPlanned() {
  if (fullScreenMode_) {
    showMaximized();
    return;
  }
  window_->ShowInKeptPlace();
}

void TMainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Moved to a screen of another pixel density, the pictures are made for it.
  if (QWindow* handle = windowHandle()) {
    connect(handle, &QWindow::screenChanged, this, &TMainWindow::LayOut, Qt::UniqueConnection);
  }
  LayOut();
  // The first activation runs once the window is up, whether or not the window manager
  // hands it the focus.
  if (!activated_) QTimer::singleShot(0, this, &TMainWindow::FormActivate);
}

void TMainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) window_->WindowStateChanged();
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TMainWindow::FormActivate() {
  if (activated_ || !initialized_) return;
  activated_ = true;
  screen_->DrawScreen(true);
  ShowMsg();
  // The Iridium data load before the main settings.
  prediction_->zapodawajIridiums(programFolder_ + QStringLiteral("Data/flares.dat"));
  settings_->zapodawajSetUpMain();
  if (settings_->TakeFirstStart()) footer_.SetBanner(FirstStartBanner());
  // "default" ends by loading its element file and tracked list; an element file on the
  // command line takes their place.
  settings_->zapodawajSetUp("default");
  // What the exit compares with: the state "default" brought, once its file is read.
  tracking_->AfterLoading([this] { settings_->RememberDefault(); });
  TSatelliteList& list = tracker_->list;
  if (!start_.elementFile.isEmpty()) {
    list.TrackedIds = start_.trackIds;
    list.ActiveId = start_.trackIds.empty() ? std::string() : start_.trackIds.front();
    tracking_->ReadElementFile(start_.elementFile, start_.trackAll);
  }
  const QString locationProblem = location_->LoadDatabase();
  location_->ShowSite();
  tracker_->ZmianaCzasu();
  // Only now is the moment known that the elements' age counts to.
  tracking_->TellElementAge();
  tracking_->AfterLoading([this] {
    if (update_->HasSources()) tracking_->OfferUpdate();
  });
  HideMsg();
  time_->StartTimers();
  // Told over the drawn and running window.
  if (!locationProblem.isEmpty()) dialogs_.ShowError(locationProblem);
  if (!settings_->StartProblems().isEmpty()) {
    dialogs_.ShowError(settings_->StartProblems().join(QLatin1Char('\n')) +
                       QStringLiteral("\nThe program started without it. It is not replaced "
                                      "unless you agree when the settings are next saved."));
  }
  time_->GuessTimeZone(false);
}

void TMainWindow::onModelChanged() {
  PlaceTimePanel();
  screen_->DrawScreen(false);
}

void TMainWindow::onTimeShown() {
  PlaceTimePanel();
  screen_->WyswietlCzas();
}

void TMainWindow::PlaceTimePanel() {
  bool shown = tracker_->view.timePanelShown;
  QRect side = layout_.sidePanel;
  if (shown) side.setHeight(layout_.sidePanelShortHeight);
  sidePanel_->setGeometry(side);
  timePanel_->setVisible(shown);
}

void TMainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

void TMainWindow::LayOut() {
  const qreal ratio = devicePixelRatioF();
  const TWindowLayout layout = LayOutWindow(width(), height());
  sidePanel_->KeepQuickMenuButton(width() > kClientWidth || height() > kClientHeight);
  if (layout == layout_ && ratio == laidOutRatio_) return;
  layout_ = layout;
  laidOutRatio_ = ratio;
  timePanel_->setGeometry(layout_.timePanel);
  screen_->timePanelView->setGeometry(0, 0, layout_.timePanel.width(),
                                      layout_.timePanel.height());
  screen_->mapView->setGeometry(layout_.map);
  screen_->radarView->setGeometry(layout_.radar);
  pages_->setGeometry(layout_.pages);
  consolePanel_->setGeometry(layout_.pages);
  for (QWidget* page : std::initializer_list<QWidget*>{mainPage_, optionsPage_, locationPage_,
                                                        setupPage_, predictionPage_}) {
    page->setGeometry(0, 0, layout_.pages.width(), layout_.pages.height());
  }
  pageTabs_->setGeometry(layout_.pageTabs);
  messagePanel_->setGeometry(layout_.messagePanel);
  footer_.Resize(layout_.footer.width(), ratio);
  PlaceTimePanel();
  screen_->Resize(layout_.map.size(), layout_.radar.size(), layout_.scale, ratio);
  if (activated_) {
    screen_->DrawScreen(false);
  } else {
    screen_->DrawScreen(true);
    screen_->DrawLogoArea();
  }
  update();
}

void TMainWindow::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  pointer_->LeftWindow();
  sidePanel_->HideQuickMenuButton();
}

void TMainWindow::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  // Moves a control did not take travel up to here too; only those over the window's own
  // surface (the footer strip and the gaps) mean the pointer left the controls.
  if (childAt(event->position().toPoint()) != nullptr) return;
  if (!pointer_->MouseOutside()) pointer_->LeftWindow();
  sidePanel_->HideQuickMenuButton();
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
  // Where the map's proportions leave its space wider or taller than the map, the map's ocean
  // goes on around it.
  for (const QRect& band : QRegion(layout_.mapSpace).subtracted(layout_.map)) {
    painter.fillRect(band, kMapOceanColour);
  }
  painter.drawImage(layout_.footer.topLeft(), footer_.Strip());
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  if (!exit_->FormCloseQuery()) {
    event->ignore();
    return;
  }
  window_->KeepPlace();
  exit_->FormClose();
  screen_->StopWorld();
  event->accept();
}

void TMainWindow::onApplicationStateChanged(Qt::ApplicationState state) {
  if (fullScreenMode_ && state == Qt::ApplicationInactive && isVisible()) showMinimized();
}

}  // namespace zen
