// The "Prediction - Setup" page: the search period, the conditions and the extras of a
// prediction search.
#include "app/prediction_setup_page.h"

#include <QEvent>
#include <QFontMetrics>
#include <QSignalBlocker>
#include <algorithm>

#include "app/page_spread.h"
#include "display/fonts.h"

namespace zen {

namespace {

constexpr int kRowHeightPx = 20;
constexpr int kFieldHeightPx = 22;
constexpr int kDateChars = 19;
constexpr int kMarginPx = 6;
constexpr int kStepButtonWidthPx = 14;
constexpr int kPageMarginPx = 4;
constexpr int kGroupGapPx = 3;
constexpr int kGroupHeightPx = 164;

// Room for n digits in a control of this font, with its frame (and buttons) besides.
int CharsWidth(const QWidget* widget, int chars, int extraPx) {
  return QFontMetrics(widget->font()).horizontalAdvance(QString(chars, QLatin1Char('0'))) + extraPx;
}

// A control at its natural width (a field keeps the width it was given).
void Place(QWidget* w, int x, int y, int height = kRowHeightPx) {
  const int width = w->minimumWidth() == w->maximumWidth() ? w->width() : w->sizeHint().width();
  w->setGeometry(x, y, width, height);
}

// Room for the widest control of a group.
int GroupWidth(const QGroupBox* group) {
  int right = 0;
  for (const QWidget* w : group->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    right = std::max(right, w->geometry().right() + 1);
  }
  return right + kMarginPx;
}

}  // namespace

TSpinEdit::TSpinEdit(int minimum, int maximum, int widthChars, QWidget* parent) : QSpinBox(parent) {
  setRange(minimum, maximum);
  // The digits, the frame and the up and down buttons.
  setFixedWidth(CharsWidth(this, widthChars, 30));
}

void TSpinEdit::fixup(QString& input) const {
  input = QString::number(SpinBoxValue(input.toStdString(), minimum(), maximum()));
}

TPredictionSetupPage::TPredictionSetupPage(const TTracker& tracker, TPredictionCommands& commands,
                                           QWidget* parent)
    : QWidget(parent), tracker_(tracker), commands_(commands) {
  // The page's many captions need the tables' small face to fit side by side.
  setFont(ZenFont(TFontFace::MsSansSerif, 8));

  // Each group is as wide as its widest control, the groups side by side across the page.
  periodGroup = new QGroupBox(QStringLiteral("Search period"), this);
  automatic = new QRadioButton(QStringLiteral("Automatic"), periodGroup);
  manual = new QRadioButton(QStringLiteral("Manual"), periodGroup);
  automatic->setChecked(true);
  periodCount = new TSpinEdit(1, 99, 2, periodGroup);
  periodCount->setToolTip(QStringLiteral("Length of the search period"));
  periodUnit = new QComboBox(periodGroup);
  for (const char* unit : kPeriodUnitNames) periodUnit->addItem(QString::fromLatin1(unit));
  backward = new QCheckBox(QStringLiteral("Backward"), periodGroup);
  backward->setToolTip(QStringLiteral("The period ends now instead of starting now"));
  startLabel = new QLabel(QStringLiteral("Start:"), periodGroup);
  endLabel = new QLabel(QStringLiteral("End:"), periodGroup);
  periodStart = new QLineEdit(periodGroup);
  periodEnd = new QLineEdit(periodGroup);
  for (QLineEdit* edit : {periodStart, periodEnd}) {
    edit->setInputMask(QStringLiteral("0000-00-00 00:00:00;_"));
    edit->setFixedSize(CharsWidth(edit, kDateChars, 10), kFieldHeightPx);
    edit->installEventFilter(this);
  }
  periodStart->setToolTip(QStringLiteral("Start of the search period (local time)"));
  periodEnd->setToolTip(QStringLiteral("End of the search period (local time)"));
  Place(automatic, kMarginPx, 16);
  Place(manual, kMarginPx, 36);
  Place(periodCount, kMarginPx, 62, kFieldHeightPx);
  Place(periodUnit, kMarginPx + periodCount->width() + 4, 62, kFieldHeightPx);
  Place(backward, kMarginPx, 90);
  Place(startLabel, kMarginPx, 58);
  Place(periodStart, kMarginPx, 74, kFieldHeightPx);
  Place(endLabel, kMarginPx, 100);
  Place(periodEnd, kMarginPx, 116, kFieldHeightPx);

  conditionsGroup = new QGroupBox(QStringLiteral("Conditions"), this);
  illumination = new QCheckBox(QStringLiteral("Satellite illumination required"), conditionsGroup);
  sunLimit = new QCheckBox(QStringLiteral("Maximum sun elevation"), conditionsGroup);
  maxSunElevation = new TSpinEdit(-20, 20, 3, conditionsGroup);
  minElevationLabel = new QLabel(QStringLiteral("Minimum satellite elevation"), conditionsGroup);
  minSatElevation = new TSpinEdit(0, 45, 2, conditionsGroup);
  flareAngleLabel = new QLabel(QStringLiteral("Maximum Iridium flare angle"), conditionsGroup);
  flareAngle = new QLineEdit(conditionsGroup);
  flareAngle->setFixedSize(CharsWidth(flareAngle, 4, 8), kFieldHeightPx);
  flareAngle->installEventFilter(this);
  flareAngleUp = new QToolButton(conditionsGroup);
  flareAngleDown = new QToolButton(conditionsGroup);
  flareAngleUp->setArrowType(Qt::UpArrow);
  flareAngleDown->setArrowType(Qt::DownArrow);
  for (QToolButton* step : {flareAngleUp, flareAngleDown}) step->setFocusPolicy(Qt::NoFocus);
  Place(illumination, kMarginPx, 16);
  Place(sunLimit, kMarginPx, 42);
  Place(minElevationLabel, kMarginPx, 70);
  Place(flareAngleLabel, kMarginPx, 98);
  const int fieldsX =
      kMarginPx + 4 +
      std::max({sunLimit->width(), minElevationLabel->width(), flareAngleLabel->width()});
  Place(maxSunElevation, fieldsX, 41, kFieldHeightPx);
  Place(minSatElevation, fieldsX, 68, kFieldHeightPx);
  Place(flareAngle, fieldsX, 96, kFieldHeightPx);
  const int buttonsX = fieldsX + flareAngle->width();
  flareAngleUp->setGeometry(buttonsX, 96, kStepButtonWidthPx, kFieldHeightPx / 2);
  flareAngleDown->setGeometry(buttonsX, 96 + kFieldHeightPx / 2, kStepButtonWidthPx,
                              kFieldHeightPx / 2);
  sunLimit->setToolTip(QStringLiteral("Highest sun elevation at the culmination (degrees)"));
  minSatElevation->setToolTip(QStringLiteral("Lowest satellite elevation of a pass (degrees)"));
  flareAngle->setToolTip(QStringLiteral("Largest flare angle of a reported flare (degrees)"));

  extraGroup = new QGroupBox(QStringLiteral("Extra"), this);
  brief = new QCheckBox(QStringLiteral("Brief output (1 line per event)"), extraGroup);
  allLoaded = new QCheckBox(QStringLiteral("Calculate all loadad"), extraGroup);
  internalTable = new QCheckBox(QStringLiteral("Use internal Iridium status table"), extraGroup);
  levelLabel = new QLabel(QStringLiteral("Anti miss out filter level"), extraGroup);
  level = new QComboBox(extraGroup);
  for (const char* name : kFilterLevelNames) level->addItem(QString::fromLatin1(name));
  Place(brief, kMarginPx, 16);
  Place(allLoaded, kMarginPx, 40);
  Place(internalTable, kMarginPx, 64);
  Place(levelLabel, kMarginPx, 94);
  Place(level, kMarginPx + levelLabel->width() + 4, 91, kFieldHeightPx);
  allLoaded->setToolTip(QStringLiteral("Search every loaded satellite, not only the tracked"));
  level->setToolTip(QStringLiteral("Higher levels miss fewer short passes and take longer"));

  int x = kPageMarginPx;
  for (QGroupBox* group : {periodGroup, conditionsGroup, extraGroup}) {
    group->setGeometry(x, 2, GroupWidth(group), kGroupHeightPx);
    x += group->width() + kGroupGapPx;
  }
  new TPageSpread(*this);

  connect(automatic, &QRadioButton::toggled, this, [this](bool on) {
    if (showing_) return;
    commands_.SetAutomatic(on);
    ShowMode();
  });
  connect(backward, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_) commands_.SetBackward(on);
  });
  connect(flareAngleUp, &QToolButton::clicked, this, [this] { StepFlareAngle(true); });
  connect(flareAngleDown, &QToolButton::clicked, this, [this] { StepFlareAngle(false); });
  for (QCheckBox* box : {illumination, sunLimit, brief, allLoaded, internalTable}) {
    connect(box, &QCheckBox::toggled, this, &TPredictionSetupPage::OptionsEdited);
  }
  for (TSpinEdit* spin : {periodCount, maxSunElevation, minSatElevation}) {
    connect(spin, &QSpinBox::valueChanged, this, &TPredictionSetupPage::OptionsEdited);
  }
  for (QComboBox* box : {periodUnit, level}) {
    connect(box, &QComboBox::currentIndexChanged, this, &TPredictionSetupPage::OptionsEdited);
  }
  // Settings loads and start-up change the model's options; every change ends in Changed.
  connect(&tracker_, &TTracker::Changed, this, &TPredictionSetupPage::ShowOptions);
  connect(&commands_, &TPredictionCommands::SetupChanged, this, [this] {
    ShowOptions();
    ShowPeriod();
  });
  ShowOptions();
  ShowMode();
}

void TPredictionSetupPage::ShowOptions() {
  const TPredictionOptions& o = tracker_.prediction;
  showing_ = true;
  auto check = [](QCheckBox* box, bool on) {
    if (box->isChecked() != on) box->setChecked(on);
  };
  auto spin = [](QSpinBox* box, int value) {
    if (box->value() != value) box->setValue(value);
  };
  auto choose = [](QComboBox* box, int index) {
    if (box->currentIndex() != index) box->setCurrentIndex(index);
  };
  spin(periodCount, o.periodLength);
  choose(periodUnit, o.periodUnit);
  check(illumination, o.satelliteIlluminated);
  check(sunLimit, o.sunBelowLimit);
  spin(maxSunElevation, o.maxSunElevationDeg);
  spin(minSatElevation, o.minSatElevationDeg);
  check(brief, o.brief);
  check(allLoaded, o.calculateAllLoaded);
  check(internalTable, o.internalIridiumTable);
  choose(level, o.level);
  maxSunElevation->setEnabled(o.sunBelowLimit);
  // Text the user is typing stays until the edit is left.
  const QString angle = QString::fromStdString(FlareAngleFieldText(o.maxFlareAngleDeg));
  if (!flareAngle->isModified() && flareAngle->text() != angle) flareAngle->setText(angle);
  showing_ = false;
}

void TPredictionSetupPage::ShowPeriod() {
  const TSearchPeriod& period = commands_.Setup().period;
  periodStart->setText(QString::fromStdString(period.StartText()));
  periodEnd->setText(QString::fromStdString(period.EndText()));
  ShowMode();
}

void TPredictionSetupPage::ShowMode() {
  const TSearchSetup& setup = commands_.Setup();
  showing_ = true;
  (setup.automatic ? automatic : manual)->setChecked(true);
  backward->setChecked(setup.backward);
  showing_ = false;
  for (QWidget* w : {static_cast<QWidget*>(periodCount), static_cast<QWidget*>(periodUnit),
                     static_cast<QWidget*>(backward)}) {
    w->setVisible(setup.automatic);
  }
  for (QWidget* w : {static_cast<QWidget*>(startLabel), static_cast<QWidget*>(periodStart),
                     static_cast<QWidget*>(endLabel), static_cast<QWidget*>(periodEnd)}) {
    w->setVisible(!setup.automatic);
  }
}

void TPredictionSetupPage::OptionsEdited() {
  if (showing_) return;
  TPredictionOptions o = tracker_.prediction;
  o.periodLength = periodCount->value();
  o.periodUnit = periodUnit->currentIndex();
  o.satelliteIlluminated = illumination->isChecked();
  o.sunBelowLimit = sunLimit->isChecked();
  o.maxSunElevationDeg = maxSunElevation->value();
  o.minSatElevationDeg = minSatElevation->value();
  o.brief = brief->isChecked();
  o.calculateAllLoaded = allLoaded->isChecked();
  o.internalIridiumTable = internalTable->isChecked();
  o.level = level->currentIndex();
  commands_.SetOptions(o);
  maxSunElevation->setEnabled(o.sunBelowLimit);
}

void TPredictionSetupPage::LeaveFlareAngle() {
  TPredictionOptions o = tracker_.prediction;
  o.maxFlareAngleDeg = LeaveFlareAngleText(flareAngle->text().toStdString(), o.maxFlareAngleDeg);
  commands_.SetOptions(o);
  flareAngle->setText(QString::fromStdString(FlareAngleFieldText(o.maxFlareAngleDeg)));
}

void TPredictionSetupPage::StepFlareAngle(bool up) {
  TPredictionOptions o = tracker_.prediction;
  o.maxFlareAngleDeg = up ? FlareAngleUp(o.maxFlareAngleDeg) : FlareAngleDown(o.maxFlareAngleDeg);
  commands_.SetOptions(o);
  flareAngle->setText(QString::fromStdString(FlareAngleFieldText(o.maxFlareAngleDeg)));
}

bool TPredictionSetupPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    if (watched == flareAngle) {
      LeaveFlareAngle();
    } else if (watched == periodStart || watched == periodEnd) {
      auto* edit = static_cast<QLineEdit*>(watched);
      // The mask shows a blank place as "_"; the date rule counts it as a blank.
      QString typed = edit->displayText();
      typed.replace(QLatin1Char('_'), QLatin1Char(' '));
      edit->setText(edit == periodStart ? commands_.LeavePeriodStart(typed)
                                        : commands_.LeavePeriodEnd(typed));
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zen
