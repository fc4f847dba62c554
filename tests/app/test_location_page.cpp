// The "Location" page and the location database through the running window.
#include <gtest/gtest.h>

#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTableWidget>
#include <cmath>

#include "app/location_page.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "core/numeric.h"

namespace zen {
namespace {

const QString kWorldLoc = QStringLiteral(ZEN_SOURCE_DIR "/resources/Locations/World.loc");

class LocationPage : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(QFile::exists(kWorldLoc)) << "no World.loc under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(QDir().mkpath(folder.home.filePath("Locations")));
    ASSERT_TRUE(QFile::copy(kWorldLoc, folder.home.filePath("Locations/World.loc")));
    ASSERT_TRUE(folder.WriteSelfTestElements("Tle/test.tle"));
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    c.elementFile = folder.home.filePath("Tle/test.tle");
    c.trackIds = {"25544"};
    c.clock = [] { return TDateRec{2001, 12, 18, 5, 0, 0, 0}; };
    window = std::make_unique<TMainWindow>(c, dialogs);
    window->ShowAsPlanned();
    ASSERT_TRUE(test::WaitUntil([&] { return window->Activated(); }));
    page = window->LocationPage();
  }
  // Types text into a field and leaves it, as a user would.
  void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(field, &in);
    field->setText(text);
    field->setModified(true);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(field, &out);
  }
  QString Live(int row) {
    auto* t = window->findChild<QTableWidget*>(QStringLiteral("infoz"));
    return t->item(row, 1) != nullptr ? t->item(row, 1)->text() : QString();
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
  TLocationPage* page = nullptr;
};

TEST_F(LocationPage, ChoosingAPlaceOfTheDatabaseMovesTheSiteAndTheLookAngles) {
  EXPECT_EQ(page->list->count(), 1745);
  EXPECT_EQ(page->databaseButton->text(), "World");
  EXPECT_EQ(page->name->text(), "Torun");
  const QString azimuthAtTorun = Live(4);
  // Typed letter by letter into the edit line, the list follows and the text stays as typed.
  page->listLine->setFocus();
  for (QChar c : QStringLiteral("Sydney")) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(page->listLine, &key);
  }
  EXPECT_EQ(page->listLine->text(), "Sydney");
  ASSERT_NE(page->list->currentItem(), nullptr);
  EXPECT_EQ(page->list->currentItem()->text(), "Sydney");
  EXPECT_EQ(page->latitude->text().right(1), "S");
  EXPECT_EQ(window->Tracker().Site().name, "Torun") << "the site waits for Choose";
  page->choose->click();
  EXPECT_EQ(window->Tracker().Site().name, "Sydney");
  EXPECT_LT(window->Tracker().Site().latitude, -33.0);
  EXPECT_NE(Live(4), azimuthAtTorun) << "the look angles follow the site";
}

TEST_F(LocationPage, FieldsKeepOnlyValidTextAndFollowTheLocator) {
  const struct {
    QLineEdit* TLocationPage::*field;
    QString typed;
    QString shown;  // empty: the current site's text again
  } rows[] = {
      {&TLocationPage::latitude, "52,5 N", "52.5 N"}, {&TLocationPage::latitude, "52.5", ""},
      {&TLocationPage::latitude, "95 N", ""},         {&TLocationPage::latitude, "90 S", "90 S"},
      {&TLocationPage::longitude, "10 w", "10 w"},    {&TLocationPage::longitude, "181 E", ""},
      {&TLocationPage::altitude, "1234,5", "1234.5"}, {&TLocationPage::altitude, "10001", ""},
  };
  for (const auto& row : rows) {
    page->SiteToForm();
    const QString before = (page->*row.field)->text();
    Type(page->*row.field, row.typed);
    const QString expected = row.shown.isEmpty() ? before : row.shown;
    EXPECT_EQ((page->*row.field)->text(), expected) << qPrintable(row.typed);
  }
  // The locator: 4 characters give the centre of their square, 5 are refused.
  page->SiteToForm();
  Type(page->locator, "jo93");
  EXPECT_EQ(page->locator->text(), "JO93");
  EXPECT_EQ(page->latitude->text(), "53.5000 N");
  EXPECT_EQ(page->longitude->text(), "19.0000 E");
  Type(page->locator, "JO93h");
  EXPECT_EQ(page->locator->text().left(4), "JO93");
  EXPECT_NE(page->locator->text().size(), 5);
}

TEST_F(LocationPage, PickedPointsAndWesternLongitudesApply) {
  page->list->setCurrentRow(3);
  window->LocationCommands().PickLocation(TMapPoint{12.5, -10.0});
  EXPECT_EQ(page->name->text(), "Picked Site");
  EXPECT_EQ(page->altitude->text(), "0.0");
  EXPECT_EQ(page->list->currentRow(), -1) << "the list loses its selection";
  EXPECT_EQ(window->Tracker().Site().sign, "Picked");
  EXPECT_NEAR(Degrees(window->Tracker().Observer().longitude), 350.0, 1e-9);
}

// However the list gains the focus with no row chosen (F3, a popup closing, the window coming
// back), the fields go on showing the site, and the buttons that act on a row find none.
TEST_F(LocationPage, TheListGainingTheFocusLeavesTheFieldsOnTheSite) {
  ASSERT_NE(page->list->item(0)->text(), "Torun");
  auto expectSiteShown = [&](const char* how) {
    EXPECT_EQ(page->list->currentRow(), -1) << how;
    EXPECT_EQ(page->name->text(), QString::fromStdString(window->Tracker().Site().name)) << how;
    EXPECT_EQ(page->latitude->text(), "53.0217 N") << how;
  };
  window->KeyCommands().FormKeyDown(Qt::Key_F3, Qt::NoModifier);
  QFocusEvent shortcut(QEvent::FocusIn, Qt::ShortcutFocusReason);
  QApplication::sendEvent(page->list, &shortcut);
  expectSiteShown("F3");
  for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason,
                                 Qt::TabFocusReason, Qt::OtherFocusReason}) {
    QFocusEvent out(QEvent::FocusOut, reason);
    QApplication::sendEvent(page->list, &out);
    QFocusEvent in(QEvent::FocusIn, reason);
    QApplication::sendEvent(page->list, &in);
    expectSiteShown(qPrintable(QString::number(reason)));
  }
  page->update->click();
  EXPECT_EQ(dialogs.notices, QStringList{"No item selected to update."});
  page->choose->click();
  EXPECT_EQ(window->Tracker().Site().name, "Torun");

  // A place picked on the map stays in the fields when the popup hands the focus back.
  page->list->setCurrentRow(5);
  window->LocationCommands().PickLocation(TMapPoint{12.5, -10.0});
  QFocusEvent popupClosed(QEvent::FocusIn, Qt::PopupFocusReason);
  QApplication::sendEvent(page->list, &popupClosed);
  EXPECT_EQ(page->name->text(), "Picked Site");
  EXPECT_EQ(page->list->currentRow(), -1);
  // The user's own choice still fills them.
  page->list->setCurrentRow(0);
  EXPECT_EQ(page->name->text(), page->list->item(0)->text());
}

TEST_F(LocationPage, AChangedDatabaseIsSavedBeforeTheExitQuestion) {
  page->name->setText("Zenarith Hill");
  page->addToDb->click();
  EXPECT_EQ(page->list->currentItem()->text(), "Zenarith Hill");
  dialogs.answers = {false};  // "No" to the exit question: the database is saved all the same
  window->close();
  QFile saved(folder.home.filePath("Locations/World.loc"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_TRUE(saved.readAll().contains("\"Zenarith Hill\""));
  dialogs.answers = {true};
  window->close();
}

}  // namespace
}  // namespace zen
