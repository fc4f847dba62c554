// The event loop's application object for the commands that need the network without a window.
#pragma once

#include <QCoreApplication>
#include <memory>

namespace zen {

// A command runs before any application object exists; tests call it with their own, which it
// then uses. Made here, the object lives until the command returns.
inline std::unique_ptr<QCoreApplication> ApplicationIfNone() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  static int argc = 1;
  static char name[] = "zenarith";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace zen
