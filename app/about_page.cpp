// The "About" page: the version, the credits and two links.
#include "app/about_page.h"

#include "display/fonts.h"

namespace zen {

namespace {

QLabel* AddLabel(QWidget* page, const QString& text, const QRect& where) {
  auto* label = new QLabel(text, page);
  label->setGeometry(where);
  label->setWordWrap(true);
  return label;
}

}  // namespace

QLabel* BuildAboutPage(QWidget* page) {
  QLabel* version = AddLabel(page, QString(), QRect(12, 8, 300, 26));
  version->setObjectName(QStringLiteral("versionLabel"));
  version->setFont(ZenFontPixels(TFontFace::MsSansSerif, 20, true));
  AddLabel(page,
           QStringLiteral("Satellites tracked live on the world map and in the observer's sky; "
                          "passes and Iridium flares predicted."),
           QRect(12, 36, 580, 16));
  AddLabel(page,
           QStringLiteral("Orbits are computed with the NORAD SGP4 and SDP4 models as published "
                          "in Spacetrack Report No. 3 (F. R. Hoots and R. L. Roehrich, 1980)."),
           QRect(12, 58, 580, 32));
  AddLabel(page, QStringLiteral("World map made from Natural Earth data (public domain)."),
           QRect(12, 94, 580, 16));
  // Both targets are public pages of the sources credited above.
  struct TLink {
    const char* url;
    const char* caption;
  };
  const TLink links[] = {
      {"https://celestrak.org/NORAD/documentation/spacetrk.pdf", "Spacetrack Report No. 3"},
      {"https://www.naturalearthdata.com/", "Natural Earth"},
  };
  int x = 12;
  for (const TLink& link : links) {
    QLabel* label =
        AddLabel(page,
                 QStringLiteral("<a href=\"%1\" style=\"color:#6FB7E8\">%2</a>")
                     .arg(QString::fromLatin1(link.url), QString::fromLatin1(link.caption)),
                 QRect(x, 120, 220, 18));
    label->setObjectName(QStringLiteral("aboutLink"));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(true);
    label->setToolTip(QString::fromLatin1(link.url));
    x += 230;
  }
  return version;
}

}  // namespace zen
