// The "About" page: the version, the credits and two links.
#include "app/about_page.h"

#include "app/page_spread.h"
#include "display/fonts.h"

namespace zen {

namespace {

QLabel* AddLabel(QWidget* page, const QString& text, const QRect& where) {
  auto* label = new QLabel(text, page);
  label->setGeometry(where);
  label->setWordWrap(true);
  return label;
}

constexpr int kLeft = 12;
constexpr int kTextWidth = 580;
constexpr int kGap = 4;

// A paragraph below the previous one, as tall as its wrapped text; returns the next top.
int AddParagraph(QWidget* page, const QString& text, int top) {
  QLabel* label = AddLabel(page, text, QRect(kLeft, top, kTextWidth, 16));
  label->resize(kTextWidth, label->heightForWidth(kTextWidth));
  return top + label->height() + kGap;
}

}  // namespace

QLabel* BuildAboutPage(QWidget* page) {
  QLabel* version = AddLabel(page, QString(), QRect(kLeft, 6, 300, 26));
  version->setObjectName(QStringLiteral("versionLabel"));
  version->setFont(ZenFontPixels(TFontFace::MsSansSerif, 20, true));
  int top = version->geometry().bottom() + 1 + kGap;
  top = AddParagraph(page,
                     QStringLiteral("Satellites tracked live on the world map and in the "
                                    "observer's sky; passes and Iridium flares predicted."),
                     top);
  top = AddParagraph(page,
                     QStringLiteral("Orbits are computed with the NORAD SGP4 and SDP4 models as "
                                    "published in Spacetrack Report No. 3 (F. R. Hoots and R. L. "
                                    "Roehrich, 1980)."),
                     top);
  top = AddParagraph(page,
                     QStringLiteral("World map made from Natural Earth data (public domain). "
                                    "Places of the World location database from GeoNames "
                                    "(CC BY 4.0)."),
                     top);
  // Both targets are public pages of the sources credited above.
  struct TLink {
    const char* url;
    const char* caption;
  };
  const TLink links[] = {
      {"https://celestrak.org/NORAD/documentation/spacetrk.pdf", "Spacetrack Report No. 3"},
      {"https://www.naturalearthdata.com/", "Natural Earth"},
      {"https://www.geonames.org/", "GeoNames"},
  };
  int x = 12;
  for (const TLink& link : links) {
    QLabel* label =
        AddLabel(page,
                 QStringLiteral("<a href=\"%1\" style=\"color:#6FB7E8\">%2</a>")
                     .arg(QString::fromLatin1(link.url), QString::fromLatin1(link.caption)),
                 QRect(x, top, 180, 18));
    label->setObjectName(QStringLiteral("aboutLink"));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(true);
    label->setToolTip(QString::fromLatin1(link.url));
    x += 190;
  }
  new TPageSpread(*page);
  return version;
}

}  // namespace zen
