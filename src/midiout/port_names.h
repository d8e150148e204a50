#pragma once
// What a port's name tells: the stable part that survives a restart of the
// program behind it (the sequencer renumbers clients, synthesisers put their
// process id into their names), whether it makes sound, and how a saved
// MidiDevice setting finds its port again.

#include <string>
#include <vector>

namespace tsy {

// The port of our own, first in the list of system ports: the program's
// virtual output that synthesisers and DAWs connect to ("Tessaly32:out").
constexpr const char* kOwnPortName = "Tessaly32";

// `name` without the numbers the system assigns at run time: the sequencer's
// "client:port" address at its end ("Midi Through:Midi Through Port-0 14:0")
// and process ids in parentheses ("FLUID Synth (4711):Synth input port
// (4711:0)"). A name cut short by the settings field loses a half number too.
std::string StablePortName(const std::string& name);

// The index of the port that `setting` names: the port of exactly that name,
// else the first whose stable name is the setting's; a setting that fills
// its whole field may have been cut, and then matches the start of a name.
// -1 when no port matches.
int FindPort(const std::vector<std::string>& names, const std::string& setting);

// True for a pass-through port ("Midi Through"), which makes no sound and is
// never the platform's default output.
bool IsThroughPort(const std::string& name);

// The MIDI system a listed port belongs to, as `tsy devices -v` says it:
// "ALSA sequencer" for a name ending in the sequencer's address, else "JACK".
const char* PortSystemName(const std::string& name);

// How well a port suits the MIDI Mapper: a synthesiser (FluidSynth,
// TiMidity, Qsynth) or a hardware port is best, any other client next;
// pass-through ports and the port of our own make no sound.
enum class MapperFit { kSounds, kMaySound, kSilent };
MapperFit MapperFitOf(const std::string& name);

// The order in which the MIDI Mapper tries the ports: every kSounds port,
// then every kMaySound port, each group in list order.
std::vector<int> MapperOrder(const std::vector<std::string>& names);

}  // namespace tsy
