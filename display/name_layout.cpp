// Satellite names that never cover one another: each name is given a box next to its symbol
// and is drawn only when that box is still free, first come first served in list order.
#include "display/name_layout.h"

namespace zen {

namespace {

constexpr int kWordBits = 64;
constexpr int kFirstPrintable = 32;
constexpr int kLastAscii = 127;
// Several full catalogues' worth of names.
constexpr size_t kMostNamesKept = 100000;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Bits first..last (0..63, inclusive) of a word.
uint64_t BitsFromTo(int first, int last) {
  const uint64_t upTo = last == kWordBits - 1 ? ~uint64_t{0} : (uint64_t{1} << (last + 1)) - 1;
  return upTo & (~uint64_t{0} << first);
}

}  // namespace

TLabelSpace::TLabelSpace(int width, int height)
    : width_(width),
      height_(height),
      wordsPerRow_((width + kWordBits - 1) / kWordBits),
      bits_(static_cast<size_t>(wordsPerRow_) * static_cast<size_t>(height), 0) {}

template <typename F>
bool TLabelSpace::EachWord(const QRect& box, F visit) const {
  const QRect r = box.intersected(QRect(0, 0, width_, height_));
  if (r.isEmpty()) return true;
  const int firstWord = r.left() / kWordBits;
  const int lastWord = r.right() / kWordBits;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const size_t row = static_cast<size_t>(y) * static_cast<size_t>(wordsPerRow_);
    for (int w = firstWord; w <= lastWord; ++w) {
      const int from = w == firstWord ? r.left() % kWordBits : 0;
      const int to = w == lastWord ? r.right() % kWordBits : kWordBits - 1;
      if (!visit(row + static_cast<size_t>(w), BitsFromTo(from, to))) return false;
    }
  }
  return true;
}

bool TLabelSpace::IsFree(const QRect& box) const {
  return EachWord(box, [this](size_t word, uint64_t mask) { return (bits_[word] & mask) == 0; });
}

void TLabelSpace::Take(const QRect& box) {
  EachWord(box, [this](size_t word, uint64_t mask) {
    bits_[word] |= mask;
    return true;
  });
}

TNameWidths& TNameWidths::For(const QFont& font) {
  // The fonts are set in pixels, so a font's key settles every width measured in it.
  thread_local std::unordered_map<QString, TNameWidths> byFont;
  return byFont[font.key()];
}

int TNameWidths::Width(TCanvas& canvas, std::string_view name) {
  if (auto known = widths_.find(name); known != widths_.end()) return known->second;
  // Names come and go as lists are loaded; past this many, start afresh rather than grow.
  if (widths_.size() >= kMostNamesKept) widths_.clear();
  const int width = canvas.TextWidth(FromUtf8(name));
  widths_.emplace(name, width);
  return width;
}

TNameLayout::TNameLayout(TCanvas& canvas, const TLabelRule& rule)
    : canvas_(canvas),
      rule_(rule),
      widths_(TNameWidths::For(canvas.Font())),
      space_(canvas.Width(), canvas.Height()),
      heightPx_(canvas.TextHeight(QString())) {
  const QFontMetrics metrics = canvas.Metrics();
  for (int c = kFirstPrintable; c <= kLastAscii; ++c) {
    advancePx_[static_cast<size_t>(c)] = metrics.horizontalAdvance(QChar(c));
  }
}

int TNameLayout::QuickWidth(std::string_view name) const {
  // Bytes past ASCII (parts of UTF-8 sequences) count nothing: the sum stays on the low side.
  int width = 0;
  for (char c : name) {
    const auto code = static_cast<unsigned char>(c);
    if (code <= kLastAscii) width += advancePx_[code];
  }
  return width;
}

// Even a remembered width costs a lookup, and a new one a measure a hundred times dearer than
// testing a box; in a crowded sky most names are turned away. So the middle half of the box
// the quick width gives is tested first, on both sides of the symbol. The quick width leaves
// out kerning and sub-pixel advances, so it is off by a few pixels either way (a tenth of the
// width at worst); that moves neither end of the true box past the middle half, on whichever
// side the true width sends it.
bool TNameLayout::NeitherSideFree(QPoint symbol, std::string_view name) const {
  const int quick = QuickWidth(name);
  const int quarter = quick / 4;
  const QRect right = rule_.Right(symbol, quick, heightPx_).adjusted(quarter, 0, -quarter, 0);
  const QRect left = rule_.Left(symbol, quick, heightPx_).adjusted(quarter, 0, -quarter, 0);
  return !space_.IsFree(right) && !space_.IsFree(left);
}

TPlacedName TNameLayout::Reserve(QPoint symbol, const QString& text) {
  const QRect box =
      text.isEmpty() ? QRect() : rule_.Box(symbol, canvas_.TextWidth(text), heightPx_);
  TPlacedName placed{box, text};
  space_.Take(placed.box);
  return placed;
}

std::optional<TPlacedName> TNameLayout::Place(QPoint symbol, std::string_view name) {
  if (name.empty()) return std::nullopt;
  if (NeitherSideFree(symbol, name)) return std::nullopt;
  const QRect box = rule_.Box(symbol, widths_.Width(canvas_, name), heightPx_);
  if (!space_.IsFree(box)) return std::nullopt;
  space_.Take(box);
  return TPlacedName{box, FromUtf8(name)};
}

}  // namespace zen
