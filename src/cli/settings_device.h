#pragma once
// The output the settings name, for the commands that play.

#include <string>

namespace tsy::cli {

// The MidiDevice setting of the settings file the desktop program uses
// (beside tsy, or under $XDG_CONFIG_HOME); says on stderr when that file
// cannot be read, and gives the default then.
std::string SettingsDevice();

}  // namespace tsy::cli
