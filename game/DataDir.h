// Finding the game's data (gfx, font, sound, skel_data) wherever the program
// is started from: the working directory when it holds the data, as in the
// build's workdir; else TARN_DATA_DIR; else the installed copy beside the
// program (share/tarn seen from its bin folder).
#pragma once

#include <string>
#include <vector>

// True when folder holds the game's data folders (gfx, font, sound,
// skel_data). A broken file inside is then that folder's problem, reported
// when it is read, not a reason to look elsewhere.
bool HoldsGameData(const std::string& folder);

// The folders to try, in order: ".", dataDirEnv (when set and not empty), and
// fromProgram joined to the folder of programPath (when that is known).
std::vector<std::string> DataDirCandidates(const char* dataDirEnv, const std::string& programPath,
                                           const std::string& fromProgram);

// The first candidate that holds the data; empty when none does.
std::string FindDataDir(const std::vector<std::string>& candidates);

// Why no folder would do: every place looked in, and how to name another.
std::string DataDirNotFoundMessage(const std::vector<std::string>& candidates);

// Makes the data folder the working directory, so the fixed relative asset
// paths resolve. False, after one line on standard error, when no folder
// holds the data or it cannot be entered.
bool EnterDataDir();
