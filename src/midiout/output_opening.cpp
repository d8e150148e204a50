#include "midiout/output_opening.h"

#include <cerrno>
#include <cstdio>

#include "core/engine/engine_call.h"
#include "core/engine/play_thread.h"
#include "midiout/builtin_synth.h"
#include "midiout/message_delivery.h"
#include "midiout/port_names.h"
#include "platform/thread_timing.h"
#include "resources/window_texts.h"

namespace tsy {
namespace {

std::string openName;
std::string openDriver;

// The platform's default output: the first synthesiser or hardware port,
// else the first other port that can sound (port_names.h), else the
// built-in synthesiser (unless that has just failed).
std::unique_ptr<OutputBackend> OpenMapper(bool synthFailed) {
  PortDirectory& ports = CurrentPorts();
  for (int i : MapperOrder(ports.PortNames()))
    if (auto port = ports.OpenPort(i)) return port;
  if (synthFailed) return nullptr;
  std::unique_ptr<BuiltinSynth> synth;
  BuiltinSynth::Open(SynthSink::kAudioDriver, kDefaultSoundFont, synth);
  return synth;
}

// Opens `kind`; null when nothing opened. `name` receives what was opened.
std::unique_ptr<OutputBackend> OpenBackend(int kind, std::string& name) {
  bool synthFailed = false;
  if (kind == kDirectMusicKind) {
    std::unique_ptr<BuiltinSynth> synth;
    switch (BuiltinSynth::Open(SynthSink::kAudioDriver, kDefaultSoundFont, synth)) {
      case SynthOpening::kOpened: name = kDirectMusicName; return synth;
      case SynthOpening::kNoSynthesiser: return nullptr;  // standby
      case SynthOpening::kFailed:
        synthFailed = true;  // on to the MIDI Mapper
        break;
    }
  }
  if (kind == kMapperKind || kind == kDirectMusicKind) {
    std::unique_ptr<OutputBackend> mapper = OpenMapper(synthFailed);
    if (mapper) name = kMapperName;
    return mapper;
  }
  const int port = kind - kFirstPortKind;
  const std::vector<std::string> names = CurrentPorts().PortNames();
  if (port < 0 || static_cast<size_t>(port) >= names.size()) return nullptr;
  std::unique_ptr<OutputBackend> backend = CurrentPorts().OpenPort(port);
  if (backend) name = names[port];
  return backend;
}

// Says once per process, on stderr, that the play thread plays without
// real-time scheduling: under load its timing then suffers badly.
void TellRealTimeRefused() {
  static bool told = false;
  if (told || !RealTimeRefused()) return;
  told = true;
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, kRealTimeRefusedText);
}

}  // namespace

int OpenOutput(int kind) {
  if (PlayThreadRunning()) return kOpenStandby;
  ClearEngineState();
  std::string name;
  std::unique_ptr<OutputBackend> backend = OpenBackend(kind, name);
  const bool standby = !backend;
  openDriver = backend && backend->kind() == BackendKind::kBuiltinSynth
                   ? static_cast<const BuiltinSynth&>(*backend).audioDriver()
                   : std::string();
  Delivery().Attach(std::move(backend));
  openName = name;
  GetState().deviceKind = kind;  // the kind asked for, also after a fallback
  const int handshake = StartPlayThread(standby ? nullptr : &Delivery());
  if (handshake == kThreadNotCreated) {
    Delivery().Release();
    openName.clear();
    return kOpenFailed;
  }
  if (handshake == kDeviceOpen) TellRealTimeRefused();
  return handshake;
}

std::string OpenOutputName() { return PlayThreadRunning() && !PlayThreadInStandby() ? openName : std::string(); }

std::chrono::microseconds OpenOutputLatency() { return Delivery().latency(); }

std::string OpenAudioDriver() { return OpenOutputName().empty() ? std::string() : openDriver; }

}  // namespace tsy
