#pragma once
// Where the running program and its installed files are: the folder of the
// executable, and the folder of shared files (the example tone files, the
// demo) that an installation puts beside its bin folder.

#include <string>

namespace tsy {

// The folder that holds the running executable, without a trailing separator;
// "" where the system does not say.
std::string ExecutableFolder();

// share/tessaly32 of the installation whose bin folder is `exeFolder`
// (bin/../share/tessaly32), so that /usr, /usr/local and a staging root all
// work; "" when `exeFolder` is "".
std::string SharedDataFolder(const std::string& exeFolder);

}  // namespace tsy
