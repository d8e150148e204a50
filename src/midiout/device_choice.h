#pragma once
// Choosing the output: the list the Options sheet and `tsy devices` offer,
// and ApplyDeviceChoice, which opens the output the MidiDevice setting names
// or switches to it, carrying play over to the new output.

#include <functional>
#include <string>
#include <vector>

#include "resources/text_id.h"

namespace tsy {

// "MIDI Mapper", "Direct Music", then every system port's name.
std::vector<std::string> DeviceNames();

// Tells the user a numbered text: kDeviceQueryFailed (the play thread could
// not be made) or kDeviceStandby (no device opened).
using DeviceNotice = std::function<void(TextId textId)>;

// Opens the output named by `midiDevice` (the MidiDevice setting) unless it
// is open already. A name that matches no output becomes "MIDI Mapper"; the
// old settings files' "MIDI Mappaer" is read as the mapper. Play that was
// running goes on at the same tick on the new output. Returns 1.
int ApplyDeviceChoice(std::string& midiDevice, const DeviceNotice& notice);

}  // namespace tsy
