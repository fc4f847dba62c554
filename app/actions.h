// Ties buttons and combo boxes to the command owners' actions, so a page adds no handler of
// its own: a click runs the action, and the action's check mark and enabled state show.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QComboBox>

namespace zen {

// A click triggers the action; the button follows the action's enabled state and, for a
// checkable button, its check mark.
void BindButton(QAbstractButton* button, QAction* action);

// Choosing an entry triggers the group's action of that index; the box shows the checked one.
void BindComboBox(QComboBox* box, QActionGroup* group);

// A checkable action for an exclusive group, numbered by its place in the group.
QAction* AddChoice(QActionGroup* group, const QString& caption);

// Shift held at this moment: a click with Shift chooses the other form of some commands.
bool ShiftHeld();

}  // namespace zen
