// How a user finds the quick menu: its button kept in a larger window, the menu key, the tip of
// a first start, and a filter field whose hint can be read.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "app/side_panel.h"
#include "app_fixture.h"
#include "display/footer.h"

namespace zen {
namespace {

class QuickMenuFinding : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData() && folder.CopyData());
  }
  std::unique_ptr<TMainWindow> Start() {
    return test::StartWindow(test::Context(folder.home.path(), folder.locks.path()), dialogs);
  }
  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
};

TEST_F(QuickMenuFinding, TheButtonIsKeptInALargerWindowOnly) {
  auto window = Start();
  QToolButton* button = window->SidePanel()->QuickMenuButton();
  for (const QSize size : {QSize(800, 600), QSize(1280, 900), QSize(800, 600)}) {
    window->resize(size);
    ASSERT_TRUE(test::WaitUntil([&] { return window->Footer().Strip().width() == size.width(); }));
    const bool kept = size.width() > 800;
    EXPECT_EQ(button->isVisible(), kept) << size.width();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(window.get(), &leave);
    EXPECT_EQ(button->isVisible(), kept) << size.width();
  }
  EXPECT_TRUE(button->toolTip().startsWith(QStringLiteral("Quick menu: ")));
}

// The menu key on each kind of control opens the control's own menu where it has one, else the
// quick menu; with Shift always the quick menu.
TEST_F(QuickMenuFinding, TheMenuKeyOpensTheControlsOwnMenuElseTheQuickMenu) {
  auto window = Start();
  TSidePanel* panel = window->SidePanel();
  const struct {
    TListTab tab;
    QWidget* control;
    Qt::KeyboardModifiers modifiers;
    const char* entry;  // an entry of the menu that opens; nullptr: the quick menu
  } rows[] = {
      {TListTab::Loaded, panel->LoadedList(), Qt::NoModifier, "Add selected"},
      {TListTab::Info, window->findChild<QWidget*>(QStringLiteral("infoz")), Qt::NoModifier,
       "Value to clipboard"},
      {TListTab::Loaded, panel->FilterField(), Qt::NoModifier, "Select All"},
      {TListTab::Loaded, panel->ListButton(), Qt::NoModifier, nullptr},
      {TListTab::Loaded, panel->LoadedList(), Qt::ShiftModifier, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.control->metaObject()->className());
    panel->SetListTab(row.tab);
    row.control->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(window->focusWidget(), row.control);
    QMenu* opened = nullptr;
    QStringList entries;
    QTimer watch;  // a menu may run its own loop: it is read and closed from there
    QObject::connect(&watch, &QTimer::timeout, [&] {
      opened = opened ? opened : qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (opened == nullptr || !entries.isEmpty()) return;
      for (QAction* a : opened->actions()) entries << a->text().section('\t', 0, 0).remove('&');
      opened->close();
    });
    watch.start(5);
    QTest::keyClick(row.control, Qt::Key_Menu, row.modifiers);
    // QTest lets go of Shift with Shift still among the modifiers, which leaves it held.
    QTest::keyRelease(window.get(), Qt::Key_Shift, Qt::NoModifier);
    ASSERT_TRUE(test::WaitUntil([&] { return !entries.isEmpty(); }, 2000));
    EXPECT_EQ(opened == &window->QuickMenu(), row.entry == nullptr);
    EXPECT_TRUE(entries.contains(row.entry ? row.entry : "Load TLE..."))
        << entries.join(", ").toStdString();
  }
}

TEST_F(QuickMenuFinding, AFirstStartShowsTheTipAndTheNextDoesNot) {
  for (const QString& banner : {FirstStartBanner(), FooterBanner()}) {
    auto window = Start();
    EXPECT_EQ(window->Footer().Texts[kFooterHint], banner);
    test::CloseWindow(window, dialogs);
  }
}

// WCAG's contrast of two sRGB colours.
double Contrast(QColor a, QColor b) {
  auto luminance = [](QColor c) {
    auto f = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * f(c.redF()) + 0.7152 * f(c.greenF()) + 0.0722 * f(c.blueF()) + 0.05;
  };
  return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

TEST_F(QuickMenuFinding, TheFiltersHintReadsOnItsField) {
  auto window = Start();
  const QPalette palette = window->SidePanel()->FilterField()->palette();
  const QColor field = palette.color(QPalette::Active, QPalette::Base);
  QColor hint = palette.color(QPalette::Active, QPalette::PlaceholderText);
  const float a = hint.alphaF();  // drawn over the field
  hint = QColor::fromRgbF(hint.redF() * a + field.redF() * (1 - a),
                          hint.greenF() * a + field.greenF() * (1 - a),
                          hint.blueF() * a + field.blueF() * (1 - a));
  EXPECT_GE(Contrast(hint, field), 4.5) << hint.name().toStdString();
}

}  // namespace
}  // namespace zen
