// Questions, messages and file choices put to the user, behind an interface tests can answer.
#pragma once

#include <QString>

class QWidget;

namespace zen {

enum class TAnswer { Yes, No, Cancel };

// Every box is titled "Zenarith".
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // Yes and No buttons with the question icon; true for Yes.
  virtual bool Ask(const QString& question) = 0;
  // The same with No the default button, for a change that is hard to undo: Enter keeps things.
  virtual bool AskDefaultNo(const QString& question) = 0;
  // Yes, No and Cancel buttons with the question icon; Escape and closing the box cancel.
  virtual TAnswer AskYesNoCancel(const QString& question) = 0;
  // OK button with the information icon.
  virtual void Inform(const QString& message) = 0;
  // OK button with the error icon.
  virtual void ShowError(const QString& message) = 0;
  // Empty when the user cancels.
  virtual QString ChooseFileToOpen(const QString& caption, const QString& folder,
                                   const QString& filter) = 0;
  // Opens in a folder, or with a proposed file in it; asks before replacing an existing file.
  // The filter chosen ends up in chosenFilter when one is given.
  virtual QString ChooseFileToSave(const QString& caption, const QString& proposal,
                                   const QString& filter, QString* chosenFilter = nullptr) = 0;
  // "Save settings...": what a settings save carries, starting from current (0 "Satellites &&
  // options", 1 "Only options", 2 "Only satellites"); -1 when the user cancels.
  virtual int ChooseSaveContent(int current) = 0;
};

// A file chosen to save in, with ".suffix" added when its name has no extension. The dialog asked
// only about the name as typed, so a file of the completed name is asked about here; empty when
// the user will not replace it.
QString CompleteFileToSave(UserDialogs& dialogs, QString file, const QString& suffix);

// The real message boxes and file dialogs.
class TQtUserDialogs : public UserDialogs {
 public:
  // The boxes are centred on parent once it is set and visible.
  void SetParent(QWidget* parent) { parent_ = parent; }

  bool Ask(const QString& question) override;
  bool AskDefaultNo(const QString& question) override;
  TAnswer AskYesNoCancel(const QString& question) override;
  void Inform(const QString& message) override;
  void ShowError(const QString& message) override;
  QString ChooseFileToOpen(const QString& caption, const QString& folder,
                           const QString& filter) override;
  QString ChooseFileToSave(const QString& caption, const QString& proposal,
                           const QString& filter, QString* chosenFilter = nullptr) override;
  int ChooseSaveContent(int current) override;

 private:
  QWidget* parent_ = nullptr;
  QWidget* VisibleParent() const;
};

}  // namespace zen
