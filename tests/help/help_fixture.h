// What the help tests share: the application object and a folder of help pages written by the
// test.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace zen::test {

inline void EnsureWidgetApplication() {
  static int argc = 1;
  static char name[] = "zen_help_tests";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance() == nullptr) new QApplication(argc, argv);
}

// A program folder whose "Help" folder holds the pages written into it.
struct THelpFolder {
  QTemporaryDir home;

  QString StartPage() const { return home.filePath(QStringLiteral("Help/index.htm")); }

  bool Write(const QString& page, const QString& html) {
    if (!QDir().mkpath(home.filePath(QStringLiteral("Help")))) return false;
    QFile file(home.filePath(QStringLiteral("Help/") + page));
    return file.open(QIODevice::WriteOnly) && file.write(html.toUtf8()) >= 0;
  }
};

}  // namespace zen::test
