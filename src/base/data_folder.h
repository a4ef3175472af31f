// data_folder.h - where the program's own data is read from.
//
// The data (images/, animations/, media/, scenes/, instructions.txt) is
// found once at start, in this order: the working folder when it holds the
// data (a run from the repository root, as ./run.sh does), else the installed
// copy beside the program (<exe>/../share/puppetorium), else the source tree
// the program was built from. What the program writes (_CODE_OUTPUT.txt,
// renders, saves) and paths the user types stay relative to the working
// folder: only the fixed data paths go through dataFile().
#pragma once

#include <string>

// Chooses the data folder among the candidates, in order; the first that
// holds the data wins. Returns "" (the working folder) when none does, so
// the loads fail as before with their own error lines.
std::string chooseDataFolder(const std::string& installed, const std::string& sourceTree);

// True when `folder` ("" for the working folder) holds the program's data.
bool holdsData(const std::string& folder);

// The data folder, with a trailing slash ("" for the working folder). Chosen
// on first use, and again if the working folder has changed since.
const std::string& dataFolder();
// Pins the data folder ("" is the working folder); nullptr chooses again.
void overrideDataFolder(const char* folder);

// A fixed data path such as "images/eye.bmp" where it is to be opened.
std::string dataFile(const char* relative);

// A data path a file names (a scene's music, "media/01.mp3"): as given when
// it is absolute or exists from the working folder, else in the data folder.
std::string dataFileNamed(const std::string& path);
