// The information tables and the "Sat/Orbit Info" page: live values, orbit, element lines,
// notes, and copies to the clipboard.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QRect>
#include <QTableWidget>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/tracker.h"
#include "app/user_dialogs.h"

namespace zen {

// The orbit table's place on its page in the documented layout; a larger page gives it half of
// what the page has more in width, and all of it in height.
inline constexpr QRect kOrbitTablePlace{4, 4, 290, 160};
inline constexpr int kOrbitTableWidth = kOrbitTablePlace.width();

class TInfoPage : public QObject {
  Q_OBJECT

 public:
  // liveTable is the side panel's "Info" table and skyTable the one below it (the satellite's
  // J2000 place and the Moon); page is the "Sat/Orbit Info" page, which already holds
  // orbitTable. The tables follow every change of tracker's model.
  TInfoPage(TTracker& tracker, QTableWidget* liveTable, QTableWidget* skyTable,
            QTableWidget* orbitTable, QWidget* page, UserDialogs& dialogs);

  // The folder whose "Notes" folder keeps the notes files.
  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }

  // The filling at the end of every redraw: the live table always, the orbit table, element
  // lines, name and notes when the active satellite changed since the last fill. The epoch row
  // carries the elements' age at the moment computed, every fill.
  void Fill();

  // "Value to clipboard" and "Table to clipboard" of the focused table; false when no table
  // has the focus.
  bool ValueToClipboard();
  bool TableToClipboard();

  // Before the exit: notes that could not be saved are tried once more; when some still
  // cannot be, the user is asked whether to exit without them. True when the exit may go on.
  bool KeepNotesBeforeExit();
  // Catalogue numbers whose notes are held here because their file could not be written.
  std::vector<std::string> UnsavedNotes() const;

  QLabel* nameLabel;            // Label21
  QPlainTextEdit* elementMemo;  // InfozT
  QPlainTextEdit* notesMemo;    // Memo3

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TTracker& tracker_;
  QWidget* page_;
  QTableWidget* live_;
  QTableWidget* sky_;
  QTableWidget* orbit_;
  UserDialogs& dialogs_;
  QString programFolder_;
  std::string notesNumber_;  // catalogue number whose notes the memo holds
  bool satelliteActive_ = false;
  // The user changed the notes since the memo got the focus (the memo's own mark is reset by
  // some programmatic edits, so the page keeps its own).
  bool notesEdited_ = false;
  bool loadingNotes_ = false;
  // Notes whose save failed, by catalogue number, with the last reason: kept until a save
  // succeeds (tried at each change of satellite and at exit), shown again for their satellite.
  std::map<std::string, std::vector<std::string>> unsavedNotes_;
  std::string unsavedReason_;
  // The notes file of the satellite shown is there but could not be read: the memo is closed to
  // editing and nothing is written over that file.
  bool notesUnreadable_ = false;

  QTableWidget* FocusedTable() const;
  // Places the orbit table, the name, the element lines and the notes for the page's size.
  void LayOut();
  // The orbit table, element lines, name and notes of the satellite now active (or none).
  void ShowActive();
  void LeaveNotes();
  void ShowNotes(const std::vector<std::string>& lines);
  // The memo's lines as a notes file holds them.
  std::vector<std::string> MemoLines() const;
  // Saves the held notes of number; false (the notes still held) when the write fails.
  bool SaveHeldNotes(const std::string& number);
  // Tries every held notes again.
  void RetryUnsavedNotes();
  // Marks the memo as holding notes not yet saved, or not.
  void MarkNotesUnsaved(bool unsaved);
};

}  // namespace zen
