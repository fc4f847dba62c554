// The main window: a fixed 800 x 600 client area that shows the tracker.
#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPalette>
#include <QScreen>

#include "app/about_page.h"
#include "app/grid_headings.h"
#include "app/image_view.h"
#include "app/program_folder.h"
#include "app/string_grid.h"
#include "display/canvas.h"
#include "display/fonts.h"
#include "display/map_background.h"
#include "display/projection.h"

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
      Lgo_(kRadarImageWidth, kRadarImageHeight, QImage::Format_RGB32) {
  Img_.fill(Qt::black);
  Lgo_.fill(Qt::black);
  BuildControls();
  footer_.Painted = [this] { update(kFooterArea); };
  clockTimer_.setInterval(kClockIntervalMs);
  connect(&clockTimer_, &QTimer::timeout, this, &TMainWindow::onClockTick);
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

  sidePanel_ = new QWidget(this);
  sidePanel_->setObjectName(QStringLiteral("sidePanel"));
  sidePanel_->setGeometry(kSidePanelArea);
  // The live table belongs to the side panel's "Info" list tab, which shows it.
  infoz_ = MakeLabelledGrid(sidePanel_, 20, {62, 86});
  infoz_->setObjectName(QStringLiteral("infoz"));
  infoz_->setGeometry(2, 2, 163, 330);
  infoz_->hide();

  // Shown by the time panel's "Show" check box, which shortens the side panel meanwhile.
  timePanel_ = new QWidget(this);
  timePanel_->setObjectName(QStringLiteral("timePanel"));
  timePanel_->setGeometry(kTimePanelArea);
  timePanel_->setAutoFillBackground(true);
  timePanel_->hide();

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

  pageTabs_ = new QTabBar(this);
  pageTabs_->setObjectName(QStringLiteral("pageTabs"));
  pageTabs_->setShape(QTabBar::RoundedSouth);
  pageTabs_->setDrawBase(false);
  pageTabs_->setExpanding(false);
  pageTabs_->setFont(ZenFont(TFontFace::MsSansSerif, 8));
  for (const char* caption : kPageTabCaptions) pageTabs_->addTab(QString::fromLatin1(caption));
  pageTabs_->setGeometry(kPageTabsArea);
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
  // The loaders of Iridium data, main settings, "default" settings with the element file,
  // and the location database come here in that order; then the UTC offset and the site are
  // applied, and the time is fetched and everything computed and drawn.
  HideMsg();
  clockTimer_.start();
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
  QCoreApplication::quit();
}

void TMainWindow::onClockTick() {
  footer_.ExpireFooter();
}

void TMainWindow::onApplicationStateChanged(Qt::ApplicationState state) {
  if (fullScreenMode_ && state == Qt::ApplicationInactive && isVisible()) showMinimized();
}

void TMainWindow::onPageTabChanged(int index) {
  pages_->setCurrentIndex(index);
}

}  // namespace zen
