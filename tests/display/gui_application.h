// The one GUI application object that text drawing needs, made on first use.
#pragma once

#include <QGuiApplication>

namespace zen::test {

inline void EnsureGuiApplication() {
  static int argc = 1;
  static char name[] = "zen_display_tests";
  static char* argv[] = {name, nullptr};
  if (QGuiApplication::instance() == nullptr) new QGuiApplication(argc, argv);
}

}  // namespace zen::test
