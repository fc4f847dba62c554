// The footer: slots, the banner, repaint only on change, countdowns and colours.
#include <gtest/gtest.h>

#include "display/footer.h"
#include "gui_application.h"
#include "image_probe.h"

namespace zen {
namespace {

using test::IsColour;

class Footer : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureGuiApplication(); }

  void Tick(int seconds) {
    for (int i = 0; i < seconds; ++i) footer.ExpireFooter();
  }

  TFooter footer;
};

TEST_F(Footer, EmptyHintShowsTheBanner) {
  EXPECT_EQ(footer.Shown, QStringLiteral("bgn"));
  footer.SendToFooter(kFooterHint, QString());
  EXPECT_TRUE(FooterBanner().startsWith(QStringLiteral("Zenarith 1.0 - ")));
  EXPECT_EQ(footer.Texts[kFooterHint], FooterBanner());
  EXPECT_EQ(footer.Shown, FooterBanner());
  EXPECT_EQ(footer.PaintCount(), 1);
}

TEST_F(Footer, SameTextTwicePaintsOnce) {
  int repaints = 0;
  footer.Painted = [&repaints] { ++repaints; };
  footer.SendToFooter(kFooterHint, QStringLiteral("12.0000° E"));
  footer.SendToFooter(kFooterHint, QStringLiteral("12.0000° E"));
  EXPECT_EQ(footer.PaintCount(), 1);
  EXPECT_EQ(repaints, 1);
  footer.SendToFooter(kFooterHint, QStringLiteral("13.0000° E"));
  EXPECT_EQ(footer.PaintCount(), 2);
  footer.DrawFooter(true);
  EXPECT_EQ(footer.PaintCount(), 3) << "a forced paint always paints";
}

TEST_F(Footer, NoticeCoversTheAlertForTwoSecondsThenTheAlertReturns) {
  footer.SendToFooter(kFooterHint, QString());
  footer.SendToFooter(kFooterAlert, QStringLiteral("alert"));
  EXPECT_EQ(footer.Shown, QStringLiteral("alert"));
  Tick(3);
  EXPECT_EQ(footer.AlertTicks, 7);
  footer.SendToFooter(kFooterNotice, QStringLiteral("notice"));
  EXPECT_EQ(footer.Shown, QStringLiteral("notice"));
  Tick(1);
  EXPECT_EQ(footer.Shown, QStringLiteral("notice"));
  EXPECT_EQ(footer.AlertTicks, 7) << "the alert does not count while a notice does";
  Tick(1);
  EXPECT_EQ(footer.Shown, QStringLiteral("alert"));
  Tick(6);
  EXPECT_EQ(footer.Shown, QStringLiteral("alert"));
  Tick(1);
  EXPECT_EQ(footer.Shown, FooterBanner()) << "ten seconds of alert in all";
}

TEST_F(Footer, AlertClearsAPendingNotice) {
  footer.SendToFooter(kFooterNotice, QStringLiteral("notice"));
  footer.SendToFooter(kFooterAlert, QStringLiteral("alert"));
  EXPECT_TRUE(footer.Texts[kFooterNotice].isEmpty());
  EXPECT_EQ(footer.NoticeTicks, 0);
  EXPECT_EQ(footer.AlertTicks, kAlertSeconds);
  EXPECT_EQ(footer.SlotInView(), kFooterAlert);
}

TEST_F(Footer, CountdownsRunTheDocumentedSeconds) {
  const struct {
    int slot;
    int seconds;
  } cases[] = {{kFooterNotice, 2}, {kFooterAlert, 10}};
  for (const auto& c : cases) {
    TFooter f;
    f.SendToFooter(kFooterHint, QStringLiteral("hint"));
    f.SendToFooter(c.slot, QStringLiteral("message"));
    for (int i = 1; i < c.seconds; ++i) f.ExpireFooter();
    EXPECT_EQ(f.Shown, QStringLiteral("message")) << "slot " << c.slot;
    f.ExpireFooter();
    EXPECT_EQ(f.Shown, QStringLiteral("hint")) << "slot " << c.slot;
    int paints = f.PaintCount();
    f.ExpireFooter();
    EXPECT_EQ(f.PaintCount(), paints) << "nothing left to expire";
  }
}

TEST_F(Footer, HintNeverExpires) {
  footer.SendToFooter(kFooterHint, QStringLiteral("hint"));
  Tick(30);
  EXPECT_EQ(footer.Shown, QStringLiteral("hint"));
}

TEST_F(Footer, StripTakesTheSlotColoursWithTheTextCentred) {
  const struct {
    int slot;
    QColor background;
    QColor text;
  } cases[] = {{kFooterAlert, QColor(0xA0, 0x10, 0x10), QColor(0xFF, 0xFF, 0xFF)},
               {kFooterNotice, QColor(0x10, 0x50, 0x10), QColor(0xD0, 0xD0, 0xD0)},
               {kFooterHint, QColor(0x30, 0x30, 0x30), QColor(0xD0, 0xD0, 0xD0)}};
  for (const auto& c : cases) {
    TFooter f;
    f.SendToFooter(c.slot, QStringLiteral("MMMM"));
    const QImage& strip = f.Strip();
    ASSERT_EQ(strip.size(), QSize(kFooterWidth, kFooterHeight));
    EXPECT_TRUE(IsColour(strip, 0, 0, c.background)) << "slot " << c.slot;
    EXPECT_TRUE(IsColour(strip, 799, 12, c.background)) << "slot " << c.slot;
    int left = kFooterWidth, right = -1;
    bool textColourSeen = false;
    for (int y = 0; y < kFooterHeight; ++y) {
      for (int x = 0; x < kFooterWidth; ++x) {
        if (IsColour(strip, x, y, c.background)) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        textColourSeen = textColourSeen || IsColour(strip, x, y, c.text);
      }
    }
    EXPECT_TRUE(textColourSeen) << "slot " << c.slot;
    EXPECT_NEAR((left + right) / 2.0, kFooterWidth / 2.0, 3.0) << "slot " << c.slot;
  }
}

}  // namespace
}  // namespace zen
