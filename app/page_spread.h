// How the controls of a page, made at their places on the documented page, follow a wider page.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <utility>
#include <vector>

namespace zen {

// The width of the documented page, which the pages' controls are placed for.
int DocumentedPageWidth();
// What a page has more in width than the documented one (0 for a narrower one).
int ExtraPageWidth(int pageWidthPx);

// Where a control widthPx wide, leftPx from the documented page's left edge, stands on a page
// pageWidthPx wide: it keeps its share of the way it could travel, so that the gaps between
// controls side by side grow evenly, the order stays, and the last one keeps to the right edge.
int SpreadLeft(int leftPx, int widthPx, int documentedWidthPx, int pageWidthPx);

// Keeps the direct children of a page of fixed controls spread across its width whenever it is
// resized: a control nearly as wide as the page (a paragraph) grows with it, the others are
// spread by SpreadLeft. Their places when it is made are taken as the documented ones.
class TPageSpread : public QObject {
 public:
  explicit TPageSpread(QWidget& page);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& page_;
  std::vector<std::pair<QPointer<QWidget>, QRect>> places_;

  // A control at least three quarters as wide as the documented page grows with the page.
  static constexpr int kStretchShareNumerator = 3;
  static constexpr int kStretchShareDenominator = 4;
  static bool Stretches(const QRect& place);
  void Follow();
};

}  // namespace zen
