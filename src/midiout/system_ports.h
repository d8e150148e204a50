#pragma once
// The system's MIDI output ports: the ALSA sequencer's (through RtMidi) and,
// while a JACK server runs, JACK's MIDI inputs (jack_midi_port.h), after the
// port of our own ("Tessaly32", port_names.h) on each. Neither system is
// required: with neither there are no ports.

#include <string>

#include "midiout/output_backend.h"

namespace tsy {

// The system's port directory (a process-wide object).
PortDirectory& SystemPorts();

// The port that the port of our own connects itself to when it opens, if
// that port exists then (the --connect option, the MidiConnect setting);
// empty: none. A name is found as a MidiDevice setting is (FindPort).
void ConnectOwnPortTo(const std::string& portName);

}  // namespace tsy
