// The "About" page: the version, the credits and two links.
#pragma once

#include <QLabel>
#include <QWidget>

namespace zen {

inline constexpr const char* kVersionText = "Zenarith 1.0";

// Fills page; returns the version label, whose text start-up sets.
QLabel* BuildAboutPage(QWidget* page);

}  // namespace zen
