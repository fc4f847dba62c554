// The program folder: made the working folder, with the folders the program writes into.
#include "app/program_folder.h"

#include <QDir>
#include <QFileInfo>

namespace zen {

QString ProgramFolderPath(const QString& folder) {
  QString path = QDir::cleanPath(QDir(folder).absolutePath());
  return path.endsWith('/') ? path : path + '/';
}

QString EnterProgramFolder(const QString& folder) {
  QString base = ProgramFolderPath(folder);
  if (!QFileInfo(base).isDir() || !QDir::setCurrent(base)) {
    return QStringLiteral("The program folder %1 does not exist or cannot be opened.")
        .arg(QDir::toNativeSeparators(base));
  }
  return {};
}

QString CreateWorkFolders(const QString& folder) {
  QString base = ProgramFolderPath(folder);
  for (const char* name : kWorkFolders) {
    QString path = base + QString::fromLatin1(name);
    QString shownPath = QDir::toNativeSeparators(path);
    QFileInfo info(path);
    if (!info.exists()) {
      if (!QDir().mkdir(path)) {
        return QStringLiteral(
                   "Cannot create the folder %1: the program folder %2 cannot be written.")
            .arg(shownPath, QDir::toNativeSeparators(base));
      }
      continue;
    }
    if (!info.isDir()) {
      return QStringLiteral("Cannot create the folder %1: a file of that name is in the way.")
          .arg(shownPath);
    }
    if (!info.isWritable()) {
      return QStringLiteral("The folder %1 cannot be written.").arg(shownPath);
    }
  }
  return {};
}

}  // namespace zen
