// The "Prediction - Setup" page: the search period, the conditions and the extras of a
// prediction search.
#include "app/prediction_setup_page.h"

#include <QEvent>
#include <QFontMetrics>
#include <QSignalBlocker>

#include "display/fonts.h"

namespace zen {

namespace {

constexpr int kRowHeightPx = 20;
constexpr int kFieldHeightPx = 22;
constexpr int kDateChars = 19;

// Room for n digits in a control of this font, with its frame (and buttons) besides.
int CharsWidth(const QWidget* widget, int chars, int extraPx) {
  return QFontMetrics(widget->font()).horizontalAdvance(QString(chars, QLatin1Char('0'))) + extraPx;
}

QCheckBox* Check(QWidget* parent, const char* caption, int x, int y, int w) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
  box->setGeometry(x, y, w, kRowHeightPx);
  return box;
}

QLabel* Label(QWidget* parent, const char* caption, int x, int y, int w) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setGeometry(x, y + 2, w, kRowHeightPx - 2);
  return label;
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

  periodGroup = new QGroupBox(QStringLiteral("Search period"), this);
  periodGroup->setGeometry(4, 2, 176, 164);
  automatic = new QRadioButton(QStringLiteral("Automatic"), periodGroup);
  automatic->setGeometry(8, 18, 82, kRowHeightPx);
  manual = new QRadioButton(QStringLiteral("Manual"), periodGroup);
  manual->setGeometry(96, 18, 72, kRowHeightPx);
  automatic->setChecked(true);
  periodCount = new TSpinEdit(1, 99, 2, periodGroup);
  periodCount->move(8, 46);
  periodCount->setFixedHeight(kFieldHeightPx);
  periodCount->setToolTip(QStringLiteral("Length of the search period"));
  periodUnit = new QComboBox(periodGroup);
  for (const char* unit : kPeriodUnitNames) periodUnit->addItem(QString::fromLatin1(unit));
  periodUnit->setGeometry(periodCount->width() + 14, 46, 88, kFieldHeightPx);
  backward = Check(periodGroup, "Backward", 8, 74, 120);
  backward->setToolTip(QStringLiteral("The period ends now instead of starting now"));
  startLabel = Label(periodGroup, "Start:", 8, 46, 34);
  endLabel = Label(periodGroup, "End:", 8, 74, 34);
  periodStart = new QLineEdit(periodGroup);
  periodEnd = new QLineEdit(periodGroup);
  for (QLineEdit* edit : {periodStart, periodEnd}) {
    edit->setInputMask(QStringLiteral("0000-00-00 00:00:00;_"));
    edit->setFixedSize(CharsWidth(edit, kDateChars, 10), kFieldHeightPx);
    edit->installEventFilter(this);
  }
  periodStart->move(44, 45);
  periodEnd->move(44, 73);
  periodStart->setToolTip(QStringLiteral("Start of the search period (local time)"));
  periodEnd->setToolTip(QStringLiteral("End of the search period (local time)"));

  conditionsGroup = new QGroupBox(QStringLiteral("Conditions"), this);
  conditionsGroup->setGeometry(184, 2, 220, 164);
  illumination = Check(conditionsGroup, "Satellite illumination required", 8, 18, 206);
  sunLimit = Check(conditionsGroup, "Maximum sun elevation", 8, 44, 156);
  maxSunElevation = new TSpinEdit(-20, 20, 3, conditionsGroup);
  minElevationLabel = Label(conditionsGroup, "Minimum satellite elevation", 8, 72, 156);
  minSatElevation = new TSpinEdit(0, 45, 2, conditionsGroup);
  flareAngleLabel = Label(conditionsGroup, "Maximum Iridium flare angle", 8, 100, 156);
  flareAngle = new QLineEdit(conditionsGroup);
  flareAngle->setFixedSize(CharsWidth(flareAngle, 4, 8), kFieldHeightPx);
  flareAngle->installEventFilter(this);
  flareAngleUp = new QToolButton(conditionsGroup);
  flareAngleDown = new QToolButton(conditionsGroup);
  flareAngleUp->setArrowType(Qt::UpArrow);
  flareAngleDown->setArrowType(Qt::DownArrow);
  const int fieldsX = 164;
  maxSunElevation->move(fieldsX, 43);
  minSatElevation->move(fieldsX, 71);
  flareAngle->move(fieldsX, 99);
  for (TSpinEdit* spin : {maxSunElevation, minSatElevation}) spin->setFixedHeight(kFieldHeightPx);
  const int buttonsX = fieldsX + flareAngle->width();
  flareAngleUp->setGeometry(buttonsX, 99, 14, kFieldHeightPx / 2);
  flareAngleDown->setGeometry(buttonsX, 99 + kFieldHeightPx / 2, 14, kFieldHeightPx / 2);
  for (QToolButton* step : {flareAngleUp, flareAngleDown}) step->setFocusPolicy(Qt::NoFocus);
  sunLimit->setToolTip(QStringLiteral("Highest sun elevation at the culmination (degrees)"));
  minSatElevation->setToolTip(QStringLiteral("Lowest satellite elevation of a pass (degrees)"));
  flareAngle->setToolTip(QStringLiteral("Largest flare angle of a reported flare (degrees)"));

  extraGroup = new QGroupBox(QStringLiteral("Extra"), this);
  extraGroup->setGeometry(408, 2, 190, 164);
  brief = Check(extraGroup, "Brief output (1 line per event)", 8, 18, 178);
  allLoaded = Check(extraGroup, "Calculate all loadad", 8, 42, 178);
  internalTable = Check(extraGroup, "Use internal Iridium status table", 8, 66, 178);
  levelLabel = Label(extraGroup, "Anti miss out filter level", 8, 94, 130);
  level = new QComboBox(extraGroup);
  for (const char* name : kFilterLevelNames) level->addItem(QString::fromLatin1(name));
  level->setGeometry(140, 93, 42, kFieldHeightPx);
  allLoaded->setToolTip(QStringLiteral("Search every loaded satellite, not only the tracked"));
  level->setToolTip(QStringLiteral("Higher levels miss fewer short passes and take longer"));

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
  if (!flareAngle->hasFocus()) {
    flareAngle->setText(QString::fromStdString(FlareAngleFieldText(o.maxFlareAngleDeg)));
  }
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
