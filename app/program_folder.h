// The program folder: made the working folder, with the folders the program writes into.
#pragma once

#include <QString>
#include <array>

namespace zen {

// Created at start when missing, in this order.
inline constexpr std::array<const char*, 3> kWorkFolders = {"Notes", "Output", "Setup"};

// The folder with a trailing "/", the base of every relative path.
QString ProgramFolderPath(const QString& folder);

// Each returns an empty text on success, else the message that names the folder that failed.
// Makes folder the working folder.
QString EnterProgramFolder(const QString& folder);
// Creates the work folders that are missing and checks that all of them can be written;
// stops at the first that fails.
QString CreateWorkFolders(const QString& folder);

}  // namespace zen
