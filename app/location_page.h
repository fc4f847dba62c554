// The "Location" page: the site's six fields with their checks, "&Choose", and the location
// database's list and buttons.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <map>

#include "app/location_commands.h"

namespace zen {

class TLocationPage : public QWidget {
  Q_OBJECT

 public:
  TLocationPage(const TTracker& tracker, TLocationCommands& commands, QWidget* parent = nullptr);

  // SiteToForm: the current site in the six fields, its locator computed.
  void SiteToForm();
  // FormToSite: the six fields read as a site.
  TSite FormToSite() const;
  // FormToLocator: the locator field from the latitude and longitude fields.
  void FormToLocator();

  QLineEdit* name;
  QLineEdit* sign;
  QLineEdit* latitude;
  QLineEdit* longitude;
  QLineEdit* altitude;
  QLineEdit* locator;
  QPushButton* choose;
  QLineEdit* listLine;  // the edit line above the list
  QListWidget* list;    // the location list, always visible
  QPushButton* addToDb;
  QPushButton* update;
  QPushButton* remove;
  QPushButton* clearDb;
  QPushButton* previousDb;
  QPushButton* databaseButton;
  QPushButton* nextDb;

 protected:
  // A taller page (a larger window) gives the list more lines, a wider one longer names.
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const TTracker& tracker_;
  TLocationCommands& commands_;
  bool typing_ = false;
  // Where the database buttons stand on the documented page.
  std::map<const QPushButton*, int> databaseButtonsLeft_;

  void ShowDatabase(int select);
  void ShowEntry(int row);
  void LeaveField(QLineEdit* field);
};

}  // namespace zen
