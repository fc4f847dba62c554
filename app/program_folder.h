// The program folder: made the working folder, with the folders the program writes into.
#pragma once

#include <QString>
#include <array>

namespace zen {

// Created at start when missing, in this order.
inline constexpr std::array<const char*, 3> kWorkFolders = {"Notes", "Output", "Setup"};

// The folder with a trailing "/", the base of every relative path.
QString ProgramFolderPath(const QString& folder);

// Makes folder the working folder and creates the missing work folders. Returns an empty
// text on success, else the message that names the folder that failed.
QString PrepareProgramFolder(const QString& folder);

}  // namespace zen
