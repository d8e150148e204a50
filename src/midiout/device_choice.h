#pragma once
// Choosing the output: the list the Options sheet and `tsy devices` offer,
// and ApplyDeviceChoice, which opens the output the MidiDevice setting names
// or switches to it, carrying play over to the new output.

#include <functional>
#include <string>
#include <vector>

namespace tsy {

// "MIDI Mapper", "Direct Music", then every system port's name.
std::vector<std::string> DeviceNames();

// Tells the user something about the opening: the numbered texts
// kDeviceQueryFailed (the play thread could not be made) and kDeviceStandby
// (no device opened), or that the chosen port is not there.
using DeviceNotice = std::function<void(const std::string& text)>;

// Opens the output named by `midiDevice` (the MidiDevice setting) unless it
// is open already. A port is found by its stable name (port_names.h) and the
// setting then takes the port's present name. A name that matches no output
// opens the MIDI Mapper and is told once, as that opening happens; the
// setting keeps the user's choice, for the port may come back. The old
// settings files' "MIDI Mappaer" is read as the mapper. Play that was
// running goes on at the same tick on the new output. Returns 1.
int ApplyDeviceChoice(std::string& midiDevice, const DeviceNotice& notice);

// The settings that shape the outputs besides MidiDevice, for the outputs
// opened from now on: the port that the port of our own connects to
// (MidiConnect; empty: none) and whether play sends MIDI clock (MidiClock).
void UseOutputSettings(const std::string& connect, bool clock);

}  // namespace tsy
