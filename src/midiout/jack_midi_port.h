#pragma once
// JACK MIDI of our own: a client "Tessaly32" with one MIDI output port
// "out", connected to a JACK MIDI input or left for others to connect to.
//
// JACK hands a client's MIDI to the next client once per period, each
// message at a frame offset within it. A message handed over as soon as it
// is sent lands wherever the next period begins: up to a period late, and
// late by a different amount each time. Here every message is stamped on
// JACK's clock when it is sent, one period and a margin ahead (the port's
// latency), and written at the frame of that moment: all arrive the same
// latency after they were sent, in the order they were sent.
//
// Without JACK (no server running, or built without it) nothing opens and
// no port is listed; a server is never started.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "midiout/output_backend.h"

namespace tsy {

// The full names ("client:port") of the MIDI input ports of the JACK
// server that runs now, in the server's order; nothing when none runs.
std::optional<std::vector<std::string>> JackMidiInputs();

// The port of our own on JACK, connected to the MIDI input `target`
// ("client:port", one of JackMidiInputs) when it is not empty. Null when no
// server runs or the port does not open. When the server stops under it,
// the port says so once on stderr and takes no more messages.
std::unique_ptr<OutputBackend> OpenJackMidiPort(const std::string& target);

}  // namespace tsy
