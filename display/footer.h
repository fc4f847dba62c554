// The footer: a one-line message bar across the bottom of the window with three slots.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace zen {

enum TFooterSlot { kFooterAlert = 0, kFooterNotice = 1, kFooterHint = 2 };

inline constexpr int kFooterTop = 587;
inline constexpr int kFooterWidth = 800;
inline constexpr int kFooterHeight = 13;
inline constexpr uint8_t kAlertSeconds = 10;
inline constexpr uint8_t kNoticeSeconds = 2;

struct TFooterColours {
  QColor background;
  QColor text;
};

TFooterColours FooterColours(int slot);

// "Zenarith 1.0 - " and the credit for the orbit models: what the hint slot shows when idle.
QString FooterBanner();
// The banner of a first start in a new program folder: "Zenarith 1.0 - " and where the quick
// menu is, which a new user would otherwise find only by chance.
QString FirstStartBanner();

// An alert shows for ten seconds, a notice for two and hides the alert meanwhile; the hint
// shows when neither counts. The strip is painted into Strip(); the window shows it at
// (0, kFooterTop) and repaints that part when Painted runs.
class TFooter {
 public:
  TFooter();

  std::array<QString, 3> Texts;
  QString Shown = QStringLiteral("bgn");
  uint8_t AlertTicks = 0;
  uint8_t NoticeTicks = 0;

  void SendToFooter(int slot, const QString& text);
  // What an empty hint shows from now on (empty: FooterBanner()); shown at once where the hint
  // slot shows the banner.
  void SetBanner(const QString& banner);
  const QString& Banner() const { return banner_; }
  // Takes text back from the alert or notice slot before its time is up, when the slot still
  // holds it: a message that no longer holds goes, another one sent since stays.
  void Withdraw(int slot, const QString& text);
  // Paints the slot in view; without force nothing is painted when its text is already shown.
  void DrawFooter(bool force);
  // One second of the countdowns.
  void ExpireFooter();

  // The slot DrawFooter shows: the notice, else the alert, else the hint.
  int SlotInView() const;
  const QImage& Strip() const { return strip_; }
  // A strip as wide as the window (logical pixels) at the screen's device pixel ratio; the
  // text in view is painted again on it.
  void Resize(int widthPx, qreal devicePixelRatio);
  int PaintCount() const { return paintCount_; }

  std::function<void()> Painted;

 private:
  QImage strip_;
  int paintCount_ = 0;
  QString banner_ = FooterBanner();
};

}  // namespace zen
