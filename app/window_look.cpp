// The window's colours: light text on dark controls, in keeping with the map, and the red
// "Loading..." notice.
#include "app/window_look.h"

#include "display/fonts.h"

namespace zen {

namespace {

// Behind the pages and the side panel's controls.
const QColor kPanelColour(0x1C, 0x20, 0x24);

}  // namespace

QPalette DarkPalette() {
  QPalette p;
  p.setColor(QPalette::Window, Qt::black);
  p.setColor(QPalette::WindowText, QColor(0xD0, 0xD0, 0xD0));
  p.setColor(QPalette::Base, QColor(0x10, 0x14, 0x18));
  p.setColor(QPalette::AlternateBase, QColor(0x18, 0x1C, 0x20));
  p.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
  // A hint in an empty field (the satellite filter's "Filter"): dimmer than typed text, yet
  // more than 4.5 times the field's luminance contrast, so it reads on the dark field.
  p.setColor(QPalette::PlaceholderText, QColor(0x98, 0x9C, 0xA0));
  p.setColor(QPalette::Button, QColor(0x2A, 0x30, 0x36));
  p.setColor(QPalette::ButtonText, QColor(0xE0, 0xE0, 0xE0));
  p.setColor(QPalette::Highlight, QColor(0x2D, 0x6A, 0x8F));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::Link, QColor(0x6F, 0xB7, 0xE8));
  p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
  p.setColor(QPalette::ToolTipText, Qt::black);
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x70, 0x70, 0x70));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x70, 0x70, 0x70));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x70, 0x70, 0x70));
  return p;
}

void FillWithPanelColour(QWidget* widget) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Window, kPanelColour);
  widget->setPalette(p);
  widget->setAutoFillBackground(true);
}

QLabel* MakeLoadingNotice(QWidget* window, const QRect& area) {
  auto* notice = new QLabel(QStringLiteral("Loading..."), window);
  notice->setObjectName(QStringLiteral("messagePanel"));
  notice->setGeometry(area);
  notice->setAlignment(Qt::AlignCenter);
  notice->setFont(ZenFontPixels(TFontFace::MsSansSerif, 19));
  notice->setAutoFillBackground(true);
  QPalette red = notice->palette();
  red.setColor(QPalette::Window, QColor(0xC0, 0x00, 0x00));
  red.setColor(QPalette::WindowText, Qt::white);
  notice->setPalette(red);
  notice->setFrameStyle(QFrame::Panel | QFrame::Raised);
  notice->hide();
  return notice;
}

}  // namespace zen
