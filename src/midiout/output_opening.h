#pragma once
// Opening an output: the MIDI Mapper, the built-in synthesiser ("Direct
// Music") or a system port, by the kind number that EngineState::deviceKind
// keeps; then the play thread that drives it.

#include <chrono>
#include <string>

namespace tsy {

constexpr const char* kMapperName = "MIDI Mapper";
constexpr const char* kDirectMusicName = "Direct Music";

// Output kinds as deviceKind keeps them: n + 2 is system port n.
constexpr int kMapperKind = 0;
constexpr int kDirectMusicKind = 1;
constexpr int kFirstPortKind = 2;

// OpenOutput's results.
enum OpenResult : int {
  kOpenFailed = 0,   // the play thread could not be created
  kOpened = 1,       // output open, play thread running
  kOpenStandby = 2,  // no device opened (the thread runs in standby), or a thread runs already
};

// Clears the engine record, opens output `kind` (falling back as the
// built-in synthesiser's opening says), and starts the play thread.
int OpenOutput(int kind);

// The name under which the open output was chosen ("MIDI Mapper", "Direct
// Music" or a port's name); empty in standby or when nothing is open.
std::string OpenOutputName();

// The audio driver the open output sounds through when it is the built-in
// synthesiser ("pulseaudio", "jack", ...); empty otherwise.
std::string OpenAudioDriver();

// How long after the play thread sends a message the open output delivers
// it: every message alike (a JACK port's, one period and a margin); zero
// for outputs that pass each message on as it comes, and when none is open.
std::chrono::microseconds OpenOutputLatency();

}  // namespace tsy
