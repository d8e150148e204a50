#pragma once
// The settings the desktop program uses, for the commands that play.

#include <string>

#include "core/settings/settings.h"

namespace tsy::cli {

// The settings file the desktop program uses (beside tsy, or under
// $XDG_CONFIG_HOME); says on stderr when that file cannot be read, and
// gives the defaults then.
Settings UserSettings();

// The MidiDevice setting of that file.
std::string SettingsDevice();

}  // namespace tsy::cli
