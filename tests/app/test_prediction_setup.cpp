// The "Prediction - Setup" page through the running window: its fields' rules, the period
// modes, and the options the settings files read and write.
#include <QLineEdit>
#include <fstream>

#include "prediction_fixture.h"
#include "tracking/ini_file.h"

namespace zen {
namespace {

using PredictionSetup = test::PredictionWindow;

TEST_F(PredictionSetup, FlareAngleEditKeepsTwoDecimalsWithinItsRange) {
  EXPECT_EQ(setup->flareAngle->text(), "1.00");
  const struct {
    const char* typed;
    const char* shown;
  } cases[] = {
      {"2,5", "2.50"}, {"7", "4.00"}, {"letters", "4.00"}, {"0", "0.10"}, {"1.234", "1.23"}};
  for (const auto& c : cases) {
    test::PredictionWindow::Leave(setup->flareAngle, QString::fromLatin1(c.typed));
    EXPECT_EQ(setup->flareAngle->text(), c.shown) << c.typed;
  }
  EXPECT_DOUBLE_EQ(window->Tracker().prediction.maxFlareAngleDeg, 1.234);
  setup->flareAngleUp->click();
  EXPECT_EQ(setup->flareAngle->text(), "1.28");
  test::PredictionWindow::Leave(setup->flareAngle, QStringLiteral("3.98"));
  setup->flareAngleUp->click();
  setup->flareAngleUp->click();
  EXPECT_EQ(setup->flareAngle->text(), "4.00");
  setup->flareAngleDown->click();
  EXPECT_EQ(setup->flareAngle->text(), "3.95");
}

TEST_F(PredictionSetup, SpinBoxLeftEmptyReadsZeroWithinItsLimits) {
  setup->periodCount->setValue(50);
  setup->minSatElevation->setValue(30);
  for (TSpinEdit* spin : {setup->periodCount, setup->minSatElevation}) {
    auto* text = spin->findChild<QLineEdit*>();
    ASSERT_NE(text, nullptr);
    test::PredictionWindow::Leave(spin, [text] { text->setText(QString()); });
  }
  EXPECT_EQ(setup->periodCount->value(), 1) << "0 held to the box's minimum";
  EXPECT_EQ(setup->minSatElevation->value(), 0);
  EXPECT_EQ(window->Tracker().prediction.periodLength, 1);
  EXPECT_EQ(window->Tracker().prediction.minSatElevationDeg, 0);
}

TEST_F(PredictionSetup, ManualShowsTheAutomaticPeriodAndAutomaticHidesIt) {
  EXPECT_FALSE(setup->periodCount->isHidden());
  EXPECT_TRUE(setup->periodStart->isHidden());
  setup->periodUnit->setCurrentIndex(1);
  setup->periodCount->setValue(3);
  setup->backward->setChecked(true);
  setup->manual->click();
  EXPECT_TRUE(setup->periodCount->isHidden());
  EXPECT_TRUE(setup->backward->isHidden());
  EXPECT_FALSE(setup->periodStart->isHidden());
  EXPECT_EQ(setup->periodStart->text(), "2026-05-30 18:15:30");
  EXPECT_EQ(setup->periodEnd->text(), "2026-05-30 21:15:30");
  // Typed nonsense is made a valid moment when the edit is left.
  test::PredictionWindow::Leave(setup->periodEnd, QStringLiteral("2026-02-31 24:00:00"));
  EXPECT_EQ(setup->periodEnd->text(), "2026-02-28 23:00:00");
  setup->automatic->click();
  EXPECT_FALSE(setup->periodCount->isHidden());
  EXPECT_TRUE(setup->periodEnd->isHidden());
  EXPECT_EQ(commands->Setup().period.EndText(), "2026-02-28 23:00:00") << "no recomputation";
}

TEST_F(PredictionSetup, SunLimitBoxEnablesItsSpinBox) {
  EXPECT_TRUE(setup->maxSunElevation->isEnabled());
  setup->sunLimit->click();
  EXPECT_FALSE(setup->maxSunElevation->isEnabled());
  EXPECT_FALSE(window->Tracker().prediction.sunBelowLimit);
  setup->sunLimit->click();
  EXPECT_TRUE(setup->maxSunElevation->isEnabled());
}

TEST_F(PredictionSetup, OptionsGoToTheSettingsFileAndComeBackFromIt) {
  setup->brief->setChecked(true);
  setup->level->setCurrentIndex(4);
  setup->maxSunElevation->setValue(-12);
  setup->periodUnit->setCurrentIndex(0);
  test::PredictionWindow::Leave(setup->flareAngle, QStringLiteral("0,75"));
  ASSERT_TRUE(window->SettingsCommands().SejwujSetUp("mine"));
  TIniFile saved = TIniFile::Read(folder.home.filePath("Setup/mine.ini").toStdString());
  EXPECT_EQ(saved.ReadString("Passes", "Brief", ""), "1");
  EXPECT_EQ(saved.ReadString("Passes", "Level", ""), "4");
  EXPECT_EQ(saved.ReadString("Passes", "MaxSun", ""), "-12");
  EXPECT_EQ(saved.ReadString("Passes", "PeriodK", ""), "0");
  EXPECT_EQ(saved.ReadString("Passes", "IrFlareAngle", ""), "75");

  {
    std::ofstream other(folder.home.filePath("Setup/other.ini").toStdString());
    other << "[Passes]\nPeriodM=7\nPeriodK=1\nSunUnderH=0\nSatAbove=33\nCAL=1\n"
             "IrFlareAngle=250\nLevel=9\n";
  }
  dialogs.fileToOpen = folder.home.filePath("Setup/other.ini");
  window->SettingsCommands().loadSettings->trigger();
  EXPECT_EQ(setup->periodCount->value(), 7);
  EXPECT_EQ(setup->periodUnit->currentText(), "hour(s)");
  EXPECT_FALSE(setup->sunLimit->isChecked());
  EXPECT_FALSE(setup->maxSunElevation->isEnabled());
  EXPECT_EQ(setup->minSatElevation->value(), 33);
  EXPECT_TRUE(setup->allLoaded->isChecked());
  EXPECT_EQ(setup->flareAngle->text(), "2.50");
  EXPECT_EQ(setup->level->currentText(), "1") << "out of range gives the default";
}

TEST_F(PredictionSetup, PageKeysFocusThePeriodGroupAndPredict) {
  window->KeyCommands().FormKeyDown(Qt::Key_F5, Qt::NoModifier);
  EXPECT_TRUE(setup->automatic->hasFocus()) << "the group's checked choice";
  window->KeyCommands().FormKeyDown(Qt::Key_F6, Qt::NoModifier);
  EXPECT_TRUE(page->predictButton->hasFocus());
}

}  // namespace
}  // namespace zen
