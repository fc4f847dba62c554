// The footer: a one-line message bar across the bottom of the window with three slots.
#include "display/footer.h"

#include "display/canvas.h"
#include "display/fonts.h"

namespace zen {

TFooterColours FooterColours(int slot) {
  switch (slot) {
    case kFooterAlert:
      return {QColor(0xA0, 0x10, 0x10), QColor(0xFF, 0xFF, 0xFF)};
    case kFooterNotice:
      return {QColor(0x10, 0x50, 0x10), QColor(0xD0, 0xD0, 0xD0)};
    default:
      return {QColor(0x30, 0x30, 0x30), QColor(0xD0, 0xD0, 0xD0)};
  }
}

QString FooterBanner() {
  return QStringLiteral(
      "Zenarith 1.0 - orbits by the NORAD SGP4/SDP4 prediction models "
      "(Spacetrack Report No. 3, Hoots and Roehrich, 1980)");
}

QString FirstStartBanner() {
  return QStringLiteral(
      "Zenarith 1.0 - Tip: the quick menu (Load TLE, Station, settings) is the small button at "
      "the top right of the lists, or Shift+Menu key");
}

TFooter::TFooter() : strip_(kFooterWidth, kFooterHeight, QImage::Format_RGB32) {
  strip_.fill(FooterColours(kFooterHint).background);
}

void TFooter::SendToFooter(int slot, const QString& text) {
  if (slot < kFooterAlert || slot > kFooterHint) return;
  QString shownText = (slot == kFooterHint && text.isEmpty()) ? banner_ : text;
  Texts[slot] = shownText;
  if (slot == kFooterNotice) {
    NoticeTicks = kNoticeSeconds;
  } else if (slot == kFooterAlert) {
    Texts[kFooterNotice].clear();
    AlertTicks = kAlertSeconds;
    NoticeTicks = 0;
  }
  DrawFooter(false);
}

void TFooter::SetBanner(const QString& banner) {
  const bool showsBanner = Texts[kFooterHint] == banner_;
  banner_ = banner.isEmpty() ? FooterBanner() : banner;
  if (showsBanner) SendToFooter(kFooterHint, QString());
}

void TFooter::Withdraw(int slot, const QString& text) {
  if (slot != kFooterAlert && slot != kFooterNotice) return;
  if (text.isEmpty() || Texts[slot] != text) return;
  Texts[slot].clear();
  (slot == kFooterAlert ? AlertTicks : NoticeTicks) = 0;
  DrawFooter(false);
}

int TFooter::SlotInView() const {
  if (!Texts[kFooterNotice].isEmpty()) return kFooterNotice;
  if (!Texts[kFooterAlert].isEmpty()) return kFooterAlert;
  return kFooterHint;
}

void TFooter::DrawFooter(bool force) {
  int slot = SlotInView();
  if (!force) {
    if (Texts[slot] == Shown) return;
    Shown = Texts[slot];
  }
  TFooterColours colours = FooterColours(slot);
  {
    TCanvas canvas(strip_);
    canvas.SetBrushSolid(colours.background);
    canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
    canvas.SetFont(ZenFont(TFontFace::MsSansSerif, 8));
    canvas.SetFontColour(colours.text);
    canvas.TextOut(canvas.Width() / 2 - canvas.TextWidth(Shown) / 2, 0, Shown);
  }
  ++paintCount_;
  if (Painted) Painted();
}

void TFooter::Resize(int widthPx, qreal devicePixelRatio) {
  if (widthPx < 1) return;
  const QSize device(qRound(widthPx * devicePixelRatio), qRound(kFooterHeight * devicePixelRatio));
  if (device == strip_.size() && devicePixelRatio == strip_.devicePixelRatio()) return;
  strip_ = QImage(device, QImage::Format_RGB32);
  strip_.setDevicePixelRatio(devicePixelRatio);
  strip_.fill(FooterColours(SlotInView()).background);
  DrawFooter(true);
}

void TFooter::ExpireFooter() {
  if (NoticeTicks > 0) {
    --NoticeTicks;
    if (NoticeTicks == 0) {
      Texts[kFooterNotice].clear();
      DrawFooter(false);
    }
  } else if (AlertTicks > 0) {
    --AlertTicks;
    if (AlertTicks == 0) {
      Texts[kFooterAlert].clear();
      DrawFooter(false);
    }
  }
}

}  // namespace zen
