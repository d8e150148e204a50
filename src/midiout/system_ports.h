#pragma once
// The system's MIDI output ports through RtMidi (the ALSA sequencer on
// Linux), named by their port names.

#include "midiout/output_backend.h"

namespace tsy {

// The system's port directory (a process-wide object).
PortDirectory& SystemPorts();

// True for a pass-through port ("Midi Through"), which makes no sound and is
// never the platform's default output.
bool IsThroughPort(const std::string& name);

}  // namespace tsy
