// The "Prediction - Setup" page: the search period, the conditions and the extras of a
// prediction search.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

#include "app/prediction_commands.h"
#include "app/tracker.h"

namespace zen {

// A spin box whose text, when left, reads as an integer (0 when it is not one) held within
// the box's limits.
class TSpinEdit : public QSpinBox {
  Q_OBJECT

 public:
  TSpinEdit(int minimum, int maximum, int widthChars, QWidget* parent);
  void fixup(QString& input) const override;
};

class TPredictionSetupPage : public QWidget {
  Q_OBJECT

 public:
  // The controls show the model's options and the commands' period; every change goes back.
  TPredictionSetupPage(const TTracker& tracker, TPredictionCommands& commands,
                       QWidget* parent = nullptr);

  QGroupBox* periodGroup;
  QRadioButton* automatic;
  QRadioButton* manual;
  TSpinEdit* periodCount;
  QComboBox* periodUnit;
  QCheckBox* backward;
  QLabel* startLabel;
  QLineEdit* periodStart;
  QLabel* endLabel;
  QLineEdit* periodEnd;

  QGroupBox* conditionsGroup;
  QCheckBox* illumination;
  QCheckBox* sunLimit;
  TSpinEdit* maxSunElevation;
  QLabel* minElevationLabel;
  TSpinEdit* minSatElevation;
  QLabel* flareAngleLabel;
  QLineEdit* flareAngle;
  QToolButton* flareAngleUp;
  QToolButton* flareAngleDown;

  QGroupBox* extraGroup;
  QCheckBox* brief;
  QCheckBox* allLoaded;
  QCheckBox* internalTable;
  QLabel* levelLabel;
  QComboBox* level;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const TTracker& tracker_;
  TPredictionCommands& commands_;
  // Set while the page writes its controls from the model, so they do not write back.
  bool showing_ = false;

  // The options of the model in the controls (a control being typed into keeps its text).
  void ShowOptions();
  // The period mode and, when changed by the commands, the period texts.
  void ShowPeriod();
  void ShowMode();
  // A control changed: the options go back to the model.
  void OptionsEdited();
  void LeaveFlareAngle();
  void StepFlareAngle(bool up);
};

}  // namespace zen
