// How the controls of a page, made at their places on the documented page, follow a wider page.
#include "app/page_spread.h"

#include <QEvent>
#include <algorithm>
#include <cstdint>
#include <map>

#include "app/window_plan.h"

namespace zen {

int DocumentedPageWidth() {
  static const int width = LayOutWindow(kClientWidth, kClientHeight).pages.width();
  return width;
}

int ExtraPageWidth(int pageWidthPx) {
  return std::max(0, pageWidthPx - DocumentedPageWidth());
}

int SpreadLeft(int leftPx, int widthPx, int documentedWidthPx, int pageWidthPx) {
  const int travel = documentedWidthPx - widthPx;
  if (pageWidthPx <= documentedWidthPx || leftPx <= 0) return leftPx;
  // A control reaching the right edge, or beyond it where the face is wider than the
  // documented one, keeps to the right edge.
  if (leftPx >= travel) return pageWidthPx - widthPx;
  return static_cast<int>(int64_t{leftPx} * (pageWidthPx - widthPx) / travel);
}

TPageSpread::TPageSpread(QWidget& page) : QObject(&page), page_(page) {
  for (QWidget* child : page.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    places_.emplace_back(child, child->geometry());
  }
  page.installEventFilter(this);
  Follow();
}

bool TPageSpread::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &page_ && event->type() == QEvent::Resize) Follow();
  return QObject::eventFilter(watched, event);
}

bool TPageSpread::Stretches(const QRect& place) {
  return place.width() * kStretchShareDenominator >=
         DocumentedPageWidth() * kStretchShareNumerator;
}

void TPageSpread::Follow() {
  const int documented = DocumentedPageWidth();
  const int wider = ExtraPageWidth(page_.width());
  // Controls lined up on one left edge stay lined up: they move as the one that may move
  // least, and not at all beside one that stretches.
  std::map<int, int> moveAt;
  for (const auto& [child, place] : places_) {
    const int move = Stretches(place)
                         ? 0
                         : SpreadLeft(place.x(), place.width(), documented, page_.width()) -
                               place.x();
    auto [at, added] = moveAt.emplace(place.x(), move);
    if (!added) at->second = std::min(at->second, move);
  }
  for (const auto& [child, place] : places_) {
    if (child.isNull()) continue;
    const int width = place.width() + (Stretches(place) ? wider : 0);
    QRect now(place.x() + moveAt.at(place.x()), place.y(), width, place.height());
    // A text that wraps takes the height its width needs.
    if (width != place.width() && child->hasHeightForWidth()) {
      now.setHeight(child->heightForWidth(width));
    }
    child->setGeometry(now);
  }
}

}  // namespace zen
