// The "Location" page: the site's six fields with their checks, "&Choose", and the location
// database's list and buttons.
#include "app/location_page.h"

#include <algorithm>

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>

#include "app/page_spread.h"
#include "core/locator.h"
#include "locations/site_fields.h"

namespace zen {

namespace {

constexpr int kNameLength = 25;
constexpr int kSignLength = 15;
constexpr int kLocatorLength = 6;
// The list and its line on the documented page.
constexpr int kListWidth = 168;

QLineEdit* Field(QWidget* page, const char* label, int top, int maxLength) {
  auto* caption = new QLabel(QString::fromLatin1(label), page);
  caption->setGeometry(6, top + 3, 82, 18);
  auto* field = new QLineEdit(page);
  field->setGeometry(90, top, 150, 22);
  field->setMaxLength(maxLength);
  return field;
}

QPushButton* Button(QWidget* page, const char* caption, const char* hint, QRect where) {
  auto* button = new QPushButton(QString::fromLatin1(caption), page);
  button->setGeometry(where);
  if (hint != nullptr) button->setToolTip(QString::fromLatin1(hint));
  return button;
}

std::string Text(const QLineEdit* field) {
  return field->text().toStdString();
}

}  // namespace

TLocationPage::TLocationPage(const TTracker& tracker, TLocationCommands& commands, QWidget* parent)
    : QWidget(parent), tracker_(tracker), commands_(commands) {
  name = Field(this, "Name", 4, kNameLength);
  sign = Field(this, "Sign", 30, kSignLength);
  latitude = Field(this, "Latitude", 56, 32);
  longitude = Field(this, "Longitude", 82, 32);
  altitude = Field(this, "Altitude (m)", 108, 32);
  locator = Field(this, "Grid locator", 134, kLocatorLength);
  choose = Button(this, "&Choose", "Use these fields as the observer's site", {248, 4, 76, 24});

  listLine = new QLineEdit(this);
  listLine->setGeometry(332, 4, kListWidth, 22);
  list = new QListWidget(this);
  list->setGeometry(332, 28, kListWidth, 136);
  list->setUniformItemSizes(true);
  addToDb = Button(this, "&Add to DB", nullptr, {506, 4, 92, 24});
  update = Button(this, "&Update", nullptr, {506, 32, 92, 24});
  remove = Button(this, "&Remove", nullptr, {506, 60, 92, 24});
  clearDb = Button(this, "Clear DB", nullptr, {506, 88, 92, 24});
  databaseButton = Button(this, "World", "Load locations from DB", {506, 114, 92, 24});
  previousDb = Button(this, "<<<", "Previous location DB", {506, 140, 45, 24});
  nextDb = Button(this, ">>>", "Next location DB", {553, 140, 45, 24});
  for (QPushButton* button :
       {addToDb, update, remove, clearDb, databaseButton, previousDb, nextDb}) {
    databaseButtonsLeft_[button] = button->x();
  }

  // The database file has no way to keep a double quote.
  for (QLineEdit* text : {name, sign}) {
    connect(text, &QLineEdit::textEdited, this, [text](const QString& typed) {
      if (typed.contains(QLatin1Char('"'))) text->setText(QString(typed).remove(QLatin1Char('"')));
    });
  }
  for (QLineEdit* field : {latitude, longitude, altitude, locator}) field->installEventFilter(this);
  list->installEventFilter(this);

  connect(choose, &QPushButton::clicked, this, [this] { commands_.Choose(FormToSite()); });
  connect(addToDb, &QPushButton::clicked, this,
          [this] { commands_.Add(Text(name), FormToSite()); });
  connect(update, &QPushButton::clicked, this,
          [this] { commands_.Update(list->currentRow(), Text(name), FormToSite()); });
  connect(remove, &QPushButton::clicked, this, [this] { commands_.Remove(list->currentRow()); });
  connect(clearDb, &QPushButton::clicked, this, [this] { commands_.ClearDb(); });
  connect(previousDb, &QPushButton::clicked, this, [this] { commands_.StepDatabase(false); });
  connect(nextDb, &QPushButton::clicked, this, [this] { commands_.StepDatabase(true); });
  connect(databaseButton, &QPushButton::clicked, this, [this] { commands_.OpenDatabase(); });
  connect(list, &QListWidget::currentRowChanged, this, &TLocationPage::ShowEntry);
  connect(list, &QListWidget::itemDoubleClicked, this, [this] { commands_.Choose(FormToSite()); });
  // Typing in the edit line goes to the first name that starts with the text.
  connect(listLine, &QLineEdit::textEdited, this, [this](const QString& typed) {
    int row = commands_.Database().FindPrefix(typed.toStdString());
    if (row < 0) return;
    // The user's text stays as typed while the list follows it.
    typing_ = true;
    list->setCurrentRow(row);
    typing_ = false;
  });
  connect(listLine, &QLineEdit::returnPressed, this, [this] { commands_.Choose(FormToSite()); });
  connect(&commands_, &TLocationCommands::DatabaseChanged, this, &TLocationPage::ShowDatabase);
  connect(&commands_, &TLocationCommands::SiteToForm, this, &TLocationPage::SiteToForm);
  connect(&commands_, &TLocationCommands::SelectionCleared, this, [this] {
    list->setCurrentRow(-1);
    list->clearSelection();
  });
}

void TLocationPage::ShowDatabase(int select) {
  const TLocationDb& db = commands_.Database();
  {
    QSignalBlocker block(list);
    list->setUpdatesEnabled(false);
    list->clear();
    QStringList names;
    names.reserve(static_cast<qsizetype>(db.Names.size()));
    for (const std::string& n : db.Names) names << QString::fromStdString(n);
    list->addItems(names);
    list->setUpdatesEnabled(true);
  }
  databaseButton->setText(QString::fromStdString(db.Caption));
  if (select >= 0 && select < list->count()) {
    QSignalBlocker block(list);
    list->setCurrentRow(select);
    listLine->setText(list->item(select)->text());
  } else {
    list->setCurrentRow(-1);
    list->clearSelection();
  }
}

void TLocationPage::ShowEntry(int row) {
  const TLocationDb& db = commands_.Database();
  if (row < 0 || row >= static_cast<int>(db.LocationTable.size())) return;
  const TLocationRec& entry = db.LocationTable[static_cast<size_t>(row)];
  const QString entryName = QString::fromStdString(db.Names[static_cast<size_t>(row)]);
  if (!typing_) listLine->setText(entryName);
  name->setText(entryName);
  sign->setText(QString::fromStdString(entry.sign));
  altitude->setText(QString::fromStdString(AltitudeText(entry.altitude)));
  latitude->setText(QString::fromStdString(LatitudeText(entry.latitude)));
  longitude->setText(QString::fromStdString(LongitudeText(entry.longitude)));
  FormToLocator();
}

void TLocationPage::SiteToForm() {
  const TSite& site = tracker_.Site();
  name->setText(QString::fromStdString(site.name));
  sign->setText(QString::fromStdString(site.sign));
  latitude->setText(QString::fromStdString(LatitudeText(site.latitude)));
  longitude->setText(QString::fromStdString(LongitudeText(site.longitude)));
  altitude->setText(QString::fromStdString(AltitudeText(site.altitude)));
  locator->setText(QString::fromStdString(LatLonToLocator(site.latitude, site.longitude)));
}

TSite TLocationPage::FormToSite() const {
  return FieldsToSite(Text(name), Text(sign), Text(latitude), Text(longitude), Text(altitude),
                      Text(locator));
}

void TLocationPage::FormToLocator() {
  TSite site = FormToSite();
  locator->setText(QString::fromStdString(LatLonToLocator(site.latitude, site.longitude)));
}

void TLocationPage::LeaveField(QLineEdit* field) {
  const TSite& site = tracker_.Site();
  std::string text = Text(field);
  double value = 0.0;
  if (field == altitude) {
    if (ReadAltitudeText(text, value)) {
      altitude->setText(QString::fromStdString(text).replace(QLatin1Char(','), QLatin1Char('.')));
    } else {
      altitude->setText(QString::fromStdString(AltitudeText(site.altitude)));
    }
  } else if (field == latitude || field == longitude) {
    bool isLatitude = field == latitude;
    bool valid = isLatitude ? ReadLatitudeText(text, value) : ReadLongitudeText(text, value);
    if (valid) {
      field->setText(QString::fromStdString(text).replace(QLatin1Char(','), QLatin1Char('.')));
      FormToLocator();
    } else {
      field->setText(QString::fromStdString(isLatitude ? LatitudeText(site.latitude)
                                                       : LongitudeText(site.longitude)));
    }
  } else if (field == locator && locator->isModified()) {
    double lat = 0.0;
    double lon = 0.0;
    if (LocatorToLatLon(text, lat, lon)) {
      latitude->setText(QString::fromStdString(LatitudeText(lat)));
      longitude->setText(QString::fromStdString(LongitudeText(lon)));
      locator->setText(QString::fromStdString(text));
    } else {
      FormToLocator();
    }
  }
}

bool TLocationPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list && event->type() == QEvent::FocusIn && list->currentRow() < 0) {
    // A list without a current row makes its first row current when it gains the focus (a
    // page key, a popup closing), which would fill the fields with that place and have
    // "&Update" act on it. Set as the view's own choice of no row, it stays without one: only
    // the user's choice of a row fills the fields.
    list->setCurrentIndex(QModelIndex());
  }
  if (watched == list && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      commands_.Choose(FormToSite());
      return true;
    }
  }
  if (auto* field = qobject_cast<QLineEdit*>(watched)) {
    if (event->type() == QEvent::FocusIn && field == locator) locator->setModified(false);
    if (event->type() == QEvent::FocusOut) LeaveField(field);
  }
  return QWidget::eventFilter(watched, event);
}

void TLocationPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // 136 high on the documented page of 169; a wider page goes to the names, and the database
  // buttons keep to the right edge.
  const int wider = ExtraPageWidth(width());
  listLine->resize(kListWidth + wider, listLine->height());
  list->setGeometry(list->x(), list->y(), kListWidth + wider, std::max(136, height() - 33));
  for (QPushButton* button :
       {addToDb, update, remove, clearDb, databaseButton, previousDb, nextDb}) {
    button->move(databaseButtonsLeft_.at(button) + wider, button->y());
  }
}

}  // namespace zen
