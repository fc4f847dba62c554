// The window's options, information pages, notes, pointer and screen shots, through real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTableWidget>
#include <fstream>

#include "app/image_view.h"
#include "app/info_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/options_page.h"
#include "app/side_panel.h"
#include "app/string_grid.h"
#include "app_fixture.h"
#include "core/elements.h"
#include "display/pointer.h"
#include "display/projection.h"
#include "tracking/notes.h"

namespace zen {
namespace {

class InformationWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData()) << "no bitmaps under " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(folder.WriteSelfTestElements("test.tle"));
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    c.elementFile = folder.home.filePath("test.tle");
    c.trackIds = {"25544", "25023"};
    c.clock = [] { return TDateRec{2001, 12, 18, 5, 0, 0, 0}; };
    window = std::make_unique<TMainWindow>(c, dialogs);
    window->ShowAsPlanned();
    ASSERT_TRUE(test::WaitUntil([&] { return window->Activated(); }));
  }

  QString Cell(const char* table, int row) {
    auto* t = window->findChild<QTableWidget*>(QString::fromLatin1(table));
    return t != nullptr && t->item(row, 1) != nullptr ? t->item(row, 1)->text() : QString();
  }
  void Focus(QWidget* w, bool in) {
    if (in) w->setFocus();
    QFocusEvent e(in ? QEvent::FocusIn : QEvent::FocusOut);
    QApplication::sendEvent(w, &e);
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
};

TEST_F(InformationWindow, TablesShowTheActiveSatelliteAndTheSun) {
  EXPECT_EQ(Cell("infozO", 0), "ISS");
  EXPECT_EQ(Cell("infozO", 1), "25544");
  EXPECT_EQ(Cell("infozO", 16), "SGP4");
  EXPECT_EQ(Cell("infoz", 0), "ISS");
  EXPECT_TRUE(Cell("infoz", 1).endsWith(" E") || Cell("infoz", 1).endsWith(" W"));
  EXPECT_FALSE(Cell("infoz", 15).isEmpty());
  EXPECT_EQ(window->InfoPage()->nameLabel->text(), "ISS");
  EXPECT_EQ(window->Satellites().InfoShownSat, window->Satellites().ActiveSat);
  // The other satellite made active refills the orbit table.
  window->TrackingCommands().ShowNext(false);
  EXPECT_EQ(Cell("infozO", 1), "25023");
  EXPECT_EQ(Cell("infozO", 16), "SDP4");
  // No active satellite empties the satellite rows and the orbit table.
  window->TrackingCommands().SetActive(0);
  EXPECT_EQ(Cell("infoz", 0), "");
  EXPECT_EQ(Cell("infozO", 1), "");
  EXPECT_FALSE(Cell("infoz", 16).isEmpty());
  EXPECT_EQ(window->InfoPage()->nameLabel->text(), "No active satellite");
  EXPECT_FALSE(window->InfoPage()->notesMemo->isEnabled());
}

TEST_F(InformationWindow, NotesAreSavedDeletedWhenEmptiedAndReloaded) {
  QPlainTextEdit* memo = window->InfoPage()->notesMemo;
  EXPECT_EQ(memo->toPlainText(), QString::fromUtf8(kNotesEmpty));
  EXPECT_TRUE(memo->isEnabled());
  QString file = folder.home.filePath("Notes/25544.txt");
  Focus(memo, true);
  memo->setPlainText("Bright pass\nmag -3");
  Focus(memo, false);
  ASSERT_TRUE(QFile::exists(file));
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("Bright pass\r\nmag -3\r\n"));
  f.close();
  // Another satellite and back: the notes come from the file.
  window->TrackingCommands().SetActive(1);
  EXPECT_EQ(memo->toPlainText(), QString::fromUtf8(kNotesEmpty));
  window->TrackingCommands().SetActive(2);
  EXPECT_EQ(memo->toPlainText(), "Bright pass\nmag -3");
  Focus(memo, true);
  memo->clear();
  Focus(memo, false);
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_EQ(memo->toPlainText(), QString::fromUtf8(kNotesEmpty));
  EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(InformationWindow, AFailedNotesSaveSaysWhyAndKeepsTheText) {
  QDir(folder.home.filePath("Notes")).removeRecursively();
  QFile blocker(folder.home.filePath("Notes"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
  blocker.close();
  QPlainTextEdit* memo = window->InfoPage()->notesMemo;
  Focus(memo, true);
  memo->setPlainText("keep me");
  Focus(memo, false);
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_TRUE(dialogs.errors[0].contains("25544.txt")) << qPrintable(dialogs.errors[0]);
  EXPECT_EQ(memo->toPlainText(), "keep me");
  EXPECT_TRUE(dialogs.notices.isEmpty());
  EXPECT_EQ(memo->property("unsaved").toBool(), true);

  // Another satellite and back, the folder still blocked: the text is held for its satellite.
  window->TrackingCommands().SetActive(1);
  EXPECT_EQ(memo->property("unsaved").toBool(), false);
  window->TrackingCommands().SetActive(2);
  EXPECT_EQ(memo->toPlainText(), "keep me");
  EXPECT_EQ(memo->property("unsaved").toBool(), true);
  // Leaving still fails: the user is asked, and No keeps the window and the text.
  dialogs.answers = {false};
  EXPECT_FALSE(window->ExitCommands().FormCloseQuery());
  ASSERT_FALSE(dialogs.questions.isEmpty());
  EXPECT_TRUE(dialogs.questions.last().contains("25544")) << qPrintable(dialogs.questions.last());

  // Once the folder can be written, the next change of satellite saves the held text.
  ASSERT_TRUE(QFile::remove(folder.home.filePath("Notes")));
  ASSERT_TRUE(QDir().mkpath(folder.home.filePath("Notes")));
  window->TrackingCommands().SetActive(1);
  QFile saved(folder.home.filePath("Notes/25544.txt"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), QByteArray("keep me\r\n"));
  EXPECT_TRUE(window->InfoPage()->UnsavedNotes().empty());
}

TEST_F(InformationWindow, RightPressSwapsNameAndElementLines) {
  TInfoPage* info = window->InfoPage();
  QMouseEvent right(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(info->nameLabel, &right);
  EXPECT_TRUE(info->nameLabel->isHidden());
  EXPECT_FALSE(info->elementMemo->isHidden());
  EXPECT_TRUE(info->elementMemo->toPlainText().startsWith(SelfTestSatellites[1].line1));
  QApplication::sendEvent(info->elementMemo->viewport(), &right);
  EXPECT_FALSE(info->nameLabel->isHidden());
}

TEST_F(InformationWindow, TableToClipboardNeedsAFocusedTable) {
  auto* orbit = window->findChild<QTableWidget*>(QStringLiteral("infozO"));
  window->setFocus();
  EXPECT_FALSE(window->InfoPage()->TableToClipboard());
  window->findChild<QTabBar*>(QStringLiteral("pageTabs"))->setCurrentIndex(kPageInfo);
  orbit->setFocus();
  if (!orbit->hasFocus()) GTEST_SKIP() << "the offscreen platform gave no focus";
  orbit->setCurrentCell(1, 1);
  EXPECT_TRUE(window->InfoPage()->ValueToClipboard());
  EXPECT_EQ(QApplication::clipboard()->text(), "25544");
  EXPECT_TRUE(window->InfoPage()->TableToClipboard());
  QStringList lines = QApplication::clipboard()->text().split("\r\n");
  EXPECT_EQ(lines.size(), 18);  // 17 rows and the empty rest after the last line end
  EXPECT_TRUE(lines[1].startsWith("NORAD #"));
  EXPECT_TRUE(lines[1].endsWith("25544"));
}

TEST_F(InformationWindow, OptionsRedrawTheMapAndRadar) {
  TOptionsPage* options = window->OptionsPage();
  EXPECT_EQ(options->solarIllumination->text(), "Solar illum.");
  EXPECT_EQ(options->middleAfterGoToMarker->text(), "Mid. after go to marker");
  QImage before = window->MapImage();
  options->grid->click();
  EXPECT_TRUE(window->Show().grid);
  EXPECT_NE(window->MapImage(), before);
  // The Greenwich meridian of the grid.
  EXPECT_EQ(window->MapImage().pixel(315, 20), qRgb(0x90, 0x90, 0x70));
  options->radarMode[0]->click();  // "On"
  EXPECT_TRUE(window->Cycle().RadarShown);
  options->radarMode[1]->click();  // "Off"
  EXPECT_FALSE(window->Cycle().RadarShown);
  EXPECT_EQ(window->ShowCommands().GetRadarState(), 1);
  window->ShowCommands().SetRadarState(7);
  EXPECT_EQ(window->ShowCommands().GetRadarState(), 0);
  EXPECT_TRUE(options->radarMode[0]->isChecked()) << "the page shows what the model holds";
}

TEST_F(InformationWindow, HintsOffSwallowsToolTips) {
  window->OptionsPage()->hints->click();
  EXPECT_FALSE(window->Show().hints);
  QHelpEvent tip(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
  EXPECT_TRUE(window->ShowCommands().eventFilter(window->MainPage(), &tip));
  window->OptionsPage()->hints->click();
  EXPECT_FALSE(window->ShowCommands().eventFilter(window->MainPage(), &tip));
}

TEST_F(InformationWindow, ClickOnTheMapSelectsTheSatelliteUnderThePointer) {
  const TSatState& maqsat = window->Satellites().TrackedSats[1];
  QPoint pixel = LonLatToMap(maqsat.latitude, maqsat.longitude);
  auto* map = window->findChild<TImageView*>(QStringLiteral("Img"));
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(pixel), map->mapToGlobal(QPointF(pixel)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(map, &press);
  EXPECT_EQ(window->Satellites().ActiveSat, 1);
  EXPECT_EQ(Cell("infozO", 0), "MAQSAT H");
}

TEST_F(InformationWindow, ScreenShotsAreNumberedAndFailuresNamed) {
  window->WindowCommands().ScreenShot(true);
  window->WindowCommands().ScreenShot(false);
  EXPECT_TRUE(QFile::exists(folder.home.filePath("Output/ScrSav000.bmp")));
  EXPECT_TRUE(QFile::exists(folder.home.filePath("Output/ScrSav001.bmp")));
  EXPECT_EQ(QImage(folder.home.filePath("Output/ScrSav000.bmp")).size(), QSize(630, 390));
  EXPECT_EQ(QImage(folder.home.filePath("Output/ScrSav001.bmp")).size(), QSize(800, 600));
  EXPECT_EQ(dialogs.notices.size(), 2);
  QFile::remove(folder.home.filePath("Output/ScrSav000.bmp"));
  window->WindowCommands().ScreenShot(true);
  EXPECT_TRUE(QFile::exists(folder.home.filePath("Output/ScrSav000.bmp"))) << "the gap is reused";
  QDir(folder.home.filePath("Output")).removeRecursively();
  window->WindowCommands().ScreenShot(true);
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_TRUE(dialogs.errors[0].contains("ScrSav")) << qPrintable(dialogs.errors[0]);
  EXPECT_EQ(dialogs.notices.size(), 3);
}

}  // namespace
}  // namespace zen

namespace zen {
namespace {

// A point of the active satellite's track on the map with no satellite within reach.
QPoint TrackPixelAwayFromSatellites(const TMainWindow& w) {
  auto& window = const_cast<TMainWindow&>(w);
  for (int m = 20; m <= 80; ++m) {
    const TTrackSample& s = window.Cycle().ActiveTrack[static_cast<size_t>(m)];
    if (s.computed && NearestSat(window.Satellites(), false, s.latitude, s.longitude) == 0) {
      return LonLatToMap(s.latitude, s.longitude);
    }
  }
  return {-1, -1};
}

void Press(QWidget* target, QPoint pixel) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(pixel), target->mapToGlobal(QPointF(pixel)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

TEST_F(InformationWindow, PagesShowTheModelWhateverChangedIt) {
  TOptionsPage* options = window->OptionsPage();
  TMainPage* main = window->MainPage();
  auto* map = window->findChild<TImageView*>(QStringLiteral("Img"));
  // A jump to a track marker from the map sets "Middle"; the Options page shows it.
  QPoint marker = TrackPixelAwayFromSatellites(*window);
  ASSERT_GE(marker.x(), 0);
  Press(map, marker);
  ASSERT_EQ(window->Time().Mode(), TTimeMode::Simulation);
  EXPECT_TRUE(main->simulation->isChecked());
  EXPECT_TRUE(main->jumpForward->isEnabled());
  EXPECT_EQ(window->Show().satOnTrack, TSatOnTrack::Middle);
  EXPECT_TRUE(options->satOnTrack[1]->isChecked());
  // Back to real time from the Main page: the model returns to "Begin", and so does the page.
  main->realTime->click();
  EXPECT_EQ(window->Show().satOnTrack, TSatOnTrack::Begin);
  EXPECT_TRUE(options->satOnTrack[0]->isChecked());
  EXPECT_FALSE(options->satOnTrack[1]->isChecked());
  // Commands that no page started (keys and menus will) show on the pages too.
  const struct {
    std::function<void()> command;
    std::function<bool()> shown;
  } cases[] = {
      {[&] { window->ShowCommands().StepRadarMode(); },
       [&] { return options->radarMode[0]->isChecked(); }},
      {[&] { window->ShowCommands().StepSatOnTrack(); },
       [&] { return options->satOnTrack[1]->isChecked(); }},
      {[&] { window->ShowCommands().grid->trigger(); }, [&] { return options->grid->isChecked(); }},
      {[&] { window->TimeCommands().SetMode(TTimeMode::Simulation); },
       [&] { return main->simulation->isChecked() && main->simTime->isEnabled(); }},
      {[&] { window->TimeCommands().units->actions()[3]->trigger(); },
       [&] { return main->jumpUnit->currentText() == "day"; }},
      {[&] { window->TimeCommands().ToggleAutoForward(); },
       [&] { return main->autoForward->text() == "STOP"; }},
      {[&] { window->TimeCommands().SetRefreshIndex(5); },
       [&] {
         return main->refresh->currentText() == "60" && window->RefreshTimer().interval() == 60000;
       }},
      {[&] { window->TimeCommands().SetOffset(-3.5); },
       [&] { return main->offsetLabel->text() == "UTC -3:30"; }},
      {[&] { window->TimeCommands().timePanel->trigger(); },
       [&] { return !main->timePanel->isChecked() && !window->TimePanelShown(); }},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cases[i].command();
    EXPECT_TRUE(cases[i].shown()) << "case " << i;
  }
}

TEST_F(InformationWindow, MaskedBlanksInTheSimulatedTimeKeepTheirPlace) {
  TMainPage* main = window->MainPage();
  main->simulation->click();
  QLineEdit* field = main->simTime;
  field->setFocus();
  field->setText("2026-12-08 15:30:00");
  field->setCursorPosition(5);
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(field, &del);
  ASSERT_EQ(field->displayText(), "2026-_2-08 15:30:00");
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(field, &enter);
  EXPECT_EQ(field->text(), "2026-02-08 15:30:00");
  EXPECT_EQ(DateRecToText(window->Time().LocalRecord), "2026-02-08 15:30:00");
}

TEST_F(InformationWindow, ElementLinesFitTheirPlaceWhole) {
  TInfoPage* info = window->InfoPage();
  window->findChild<QTabBar*>(QStringLiteral("pageTabs"))->setCurrentIndex(kPageInfo);
  QMouseEvent right(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(info->nameLabel, &right);
  QPlainTextEdit* memo = info->elementMemo;
  ASSERT_TRUE(memo->isVisible());
  QApplication::processEvents();
  const QStringList lines = memo->toPlainText().split('\n');
  ASSERT_EQ(lines.size(), 2);
  QFontMetricsF metrics(memo->font());
  for (const QString& line : lines) {
    EXPECT_EQ(line.size(), 69);
    EXPECT_LE(metrics.horizontalAdvance(line), memo->viewport()->width()) << qPrintable(line);
  }
  EXPECT_LE(2 * metrics.lineSpacing(), memo->viewport()->height());
  EXPECT_EQ(memo->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(memo->verticalScrollBar()->maximum(), 0);
}

TEST_F(InformationWindow, MapReadoutGoesWhenThePointerLeavesTheMap) {
  auto* map = window->findChild<TImageView*>(QStringLiteral("Img"));
  QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), map->mapToGlobal(QPointF(300, 200)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(map, &move);
  const QString readout = window->Footer().Texts[kFooterHint];
  EXPECT_NE(readout, FooterBanner());
  // Onto a page control: the banner returns in place of the readout (in this new program
  // folder, the banner of a first start).
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(map, &leave);
  EXPECT_EQ(window->Footer().Texts[kFooterHint], FirstStartBanner());
}

// Every caption of the pages and the labels of the information tables fit their place.
TEST_F(InformationWindow, NoTextIsCutOff) {
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const char* kind = w->metaObject()->className();
    QString text;
    bool cut = false;
    if (auto* button = qobject_cast<QPushButton*>(w); button && !button->text().isEmpty()) {
      // A push button's size hint keeps a minimum width; only its caption must fit.
      text = button->text();
      cut =
          button->fontMetrics().horizontalAdvance(QString(text).remove('&')) + 6 > button->width();
    } else if (auto* box = qobject_cast<QAbstractButton*>(w); box && !box->text().isEmpty()) {
      text = box->text();
      cut = box->sizeHint().width() > box->width();
    } else if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
      text = label->text();
      cut = label->wordWrap() ? label->heightForWidth(label->width()) > label->height()
                              : label->sizeHint().width() > label->width();
    }
    EXPECT_FALSE(cut) << kind << " \"" << qPrintable(text) << "\" " << w->width() << "x"
                      << w->height();
  }
  for (const char* name : {"infoz", "infozO"}) {
    auto* table = window->findChild<QTableWidget*>(QString::fromLatin1(name));
    ASSERT_NE(table, nullptr);
    for (int r = 0; r < table->rowCount(); ++r) {
      QString label = table->item(r, 0) != nullptr ? table->item(r, 0)->text() : QString();
      EXPECT_LE(table->fontMetrics().horizontalAdvance(label) + 4, table->columnWidth(0))
          << name << " \"" << qPrintable(label) << "\"";
    }
  }
  // The About page's lines do not overlap one another.
  QWidget* about = window->findChild<QWidget*>(QStringLiteral("About"));
  QList<QLabel*> labels = about->findChildren<QLabel*>();
  for (QLabel* a : labels) {
    for (QLabel* b : labels) {
      if (a != b && a->geometry().top() < b->geometry().top()) {
        EXPECT_LE(a->geometry().top() + a->heightForWidth(a->width()), b->geometry().top() + 1)
            << qPrintable(a->text()) << " / " << qPrintable(b->text());
      }
    }
  }
}

// The view's margin either side of a cell's text, and the room it gives text in column 1:
// the style's text area for that text (as wide as the text and its margins, at most the
// cell) less the margins. A text wider than its room is elided.
int TextMargins(const QTableWidget* table) {
  return 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
}
int TextRoom(const QTableWidget* table, int row, const QString& text) {
  QStyleOptionViewItem option;
  option.initFrom(table);
  option.widget = table;
  option.font = table->font();
  option.fontMetrics = QFontMetrics(option.font);
  option.rect = QRect(0, 0, table->columnWidth(1), table->rowHeight(row));
  option.text = text;
  option.features = QStyleOptionViewItem::HasDisplay;
  return table->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, table).width() -
         TextMargins(table);
}

// At 800 x 600 and one device pixel per pixel, in the stand-in face the program ships with
// when the documented one is missing, the widest values and every label fit the documented
// columns, and the view does not elide them.
TEST_F(InformationWindow, WidestValuesShowWholeInTheDocumentedColumns) {
  ASSERT_EQ(window->size(), QSize(800, 600));
  ASSERT_EQ(window->devicePixelRatioF(), 1.0);
  struct TCase {
    const char* table;
    int labelWidth;
    int valueWidth;
    int row;
    const char* value;
  };
  const TCase cases[] = {
      {"infoz", 62, 86, 1, "179.9999\u00B0 W"},
      {"infoz", 62, 86, 19, "152100000.0"},
      {"infozO", 135, 133, 11, "999h 59m 59s (59999.98 min)"},
      {"infozO", 135, 133, 13, "99999 x 999999 km"},
  };
  for (const TCase& c : cases) {
    auto* table = window->findChild<QTableWidget*>(QString::fromLatin1(c.table));
    ASSERT_NE(table, nullptr);
    SCOPED_TRACE(testing::Message() << c.value << " in " << qPrintable(table->font().family()));
    EXPECT_EQ(table->columnWidth(0), c.labelWidth);
    EXPECT_EQ(table->columnWidth(1), c.valueWidth);
    const QFontMetrics metrics(table->font());
    const QString value = QString::fromUtf8(c.value);
    table->item(c.row, 1)->setText(value);
    const int margins = TextMargins(table);
    EXPECT_LE(metrics.horizontalAdvance(value) + margins, c.valueWidth);
    EXPECT_EQ(metrics.elidedText(value, table->textElideMode(), TextRoom(table, c.row, value)),
              value);
    for (const QString& label : LabelColumn(table)) {
      EXPECT_LE(metrics.horizontalAdvance(label) + margins, c.labelWidth) << qPrintable(label);
    }
  }
}

// A larger window gives the extra width to the values: labels, face and the room right of the
// values stay as they were.
TEST_F(InformationWindow, LargerWindowsWidenTheValueColumns) {
  window->SidePanel()->SetListTab(TListTab::Info);
  window->findChild<QTabBar*>(QStringLiteral("pageTabs"))->setCurrentIndex(kPageInfo);
  struct TTable {
    QTableWidget* view;
    int labelWidth;
    int valueWidth;
    int spare;
    int pixelSize;
  };
  std::vector<TTable> tables;
  for (const char* name : {"infoz", "infozO"}) {
    auto* t = window->findChild<QTableWidget*>(QString::fromLatin1(name));
    tables.push_back({t, t->columnWidth(0), t->columnWidth(1),
                      t->width() - t->columnWidth(0) - t->columnWidth(1), t->font().pixelSize()});
  }
  window->showNormal();
  window->resize(1600, 1200);
  ASSERT_TRUE(test::WaitUntil([&] { return window->width() == 1600; }));
  for (const TTable& t : tables) {
    SCOPED_TRACE(qPrintable(t.view->objectName()));
    EXPECT_EQ(t.view->columnWidth(0), t.labelWidth);
    EXPECT_GT(t.view->columnWidth(1), t.valueWidth + 100);
    EXPECT_EQ(t.view->width() - t.view->columnWidth(0) - t.view->columnWidth(1), t.spare);
    EXPECT_EQ(t.view->font().pixelSize(), t.pixelSize);
  }
}

}  // namespace
}  // namespace zen
