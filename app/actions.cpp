// Ties buttons and combo boxes to the command owners' actions, so a page adds no handler of
// its own: a click runs the action, and the action's check mark and enabled state show.
#include "app/actions.h"

#include <QGuiApplication>
#include <QSignalBlocker>

namespace zen {

void BindButton(QAbstractButton* button, QAction* action) {
  auto follow = [button, action] {
    QSignalBlocker block(button);
    button->setEnabled(action->isEnabled());
    if (button->isCheckable() && action->isCheckable()) button->setChecked(action->isChecked());
  };
  follow();
  QObject::connect(action, &QAction::changed, button, follow);
  QObject::connect(action, &QAction::toggled, button, follow);
  QObject::connect(button, &QAbstractButton::clicked, action, [action, follow] {
    action->trigger();
    // The command may have refused the change; the button shows what the action holds.
    follow();
  });
}

void BindComboBox(QComboBox* box, QActionGroup* group) {
  auto follow = [box, group] {
    QSignalBlocker block(box);
    const QList<QAction*> actions = group->actions();
    box->setCurrentIndex(static_cast<int>(actions.indexOf(group->checkedAction())));
    box->setEnabled(group->isEnabled());
  };
  follow();
  for (QAction* action : group->actions()) {
    QObject::connect(action, &QAction::toggled, box, follow);
    QObject::connect(action, &QAction::changed, box, follow);
  }
  QObject::connect(box, &QComboBox::currentIndexChanged, group, [group, follow](int index) {
    const QList<QAction*> actions = group->actions();
    if (index >= 0 && index < actions.size()) actions[index]->trigger();
    follow();
  });
}

QAction* AddChoice(QActionGroup* group, const QString& caption) {
  auto* action = new QAction(caption, group);
  action->setCheckable(true);
  action->setData(static_cast<int>(group->actions().size()) - 1);
  return action;
}

bool ShiftHeld() {
  return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

}  // namespace zen
