// tsy play SRC [--device NAME] [--seconds N] [--connect NAME] [--clock]
// [--from POS | --from-line N] [--to POS] [--loop] [--watch]
// [--positions FILE]: plays a piece through a MIDI output, with a live
// status line.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "cli/commands.h"
#include "cli/live_play.h"
#include "cli/music_input.h"
#include "cli/play_plan.h"
#include "cli/settings_device.h"
#include "core/engine/effects.h"
#include "core/engine/engine_call.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "midiout/device_choice.h"
#include "midiout/message_delivery.h"
#include "midiout/output_opening.h"
#include "midiout/port_names.h"
#include "resources/string_table.h"

namespace tsy::cli {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kStatusPeriod = std::chrono::milliseconds(100);
constexpr auto kFadeWatchPeriod = std::chrono::milliseconds(5);  // well within a restart's settling
constexpr auto kEndingRing = std::chrono::milliseconds(500);     // the last notes sound out before the halt
constexpr uint32_t kTicksPerBar = 192;

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

// The output, its connection and the clock from the options, else from the
// settings. --connect alone plays through the port it connects.
std::string ChooseOutput(const Arguments& args) {
  const Settings settings = UserSettings();
  const std::optional<std::string> connect = args.Option("--connect");
  std::string device = args.Option("--device").value_or(connect ? kOwnPortName : settings.midiDevice);
  const std::string target = connect.value_or(settings.midiConnect);
  UseOutputSettings(target, args.Option("--clock") || settings.midiClock != 0);
  if (device == kOwnPortName && !target.empty() && FindPort(CurrentPorts().PortNames(), target) < 0)
    std::fprintf(stderr, "tsy: no port is named '%s'; %s:out waits for connections\n", target.c_str(), kOwnPortName);
  return device;
}

bool ParseSeconds(const std::string& text, double& seconds) {
  char* end = nullptr;
  seconds = std::strtod(text.c_str(), &end);
  return end != text.c_str() && *end == '\0' && seconds > 0 && seconds < 1e7;
}

int PlayingTracks(const EngineState& s) {
  int n = 0;
  for (int t = 0; t < kTrackCount; ++t) n += s.trackPos[t] != nullptr;
  return n;
}

// Where the words for people go: standard output, unless the positions feed has it.
std::FILE* said = stdout;

// The status line, redrawn in place on a terminal; `ending` closes it.
void PrintStatus(bool live, const char* ending) {
  const EngineState& s = GetState();
  const uint32_t tick = s.tick;
  std::fprintf(said, "%s%5u.%03u  tempo %3d  tracks %2d%s%s", live ? "\r" : "", (tick / kTicksPerBar) % 10000,
               tick % kTicksPerBar, int{s.tempo}, PlayingTracks(s), s.fadeActive ? "  fading" : "       ", ending);
  std::fflush(said);
}

// Why play ended, as the status line's last word.
enum class Ending { kEnd, kStopped, kHalted };
constexpr const char* kEndingWords[] = {"  end\n", "  stopped\n", "  halted\n"};

// The fade of --seconds: once started it runs to its end and stops play,
// whatever the music does. The music's own restart resets the engine and with
// it the fade; the fade is then taken up again where it had got to, while
// the restart settles and before the music sounds again.
class ClosingFade {
 public:
  void Start() {
    FadeOut();
    started_ = true;
  }
  bool started() const { return started_; }

  // Looked at often while the fade runs (a restart settles for 100 ms).
  void Keep() {
    if (!started_) return;
    EngineState& s = GetState();
    if (s.fadeActive) {
      step_ = std::max(step_, int32_t{s.fadeStep});  // a reset sets it back to 0, never further on
      return;
    }
    StartFade();
    s.fadeTick = s.tick - kTicksPerFadeStep * static_cast<uint32_t>(step_);
  }

 private:
  bool started_ = false;
  int32_t step_ = 0;  // the furthest step the fade has reached
};

// Plays from the plan's start until every track has ended, the plan's end
// or the music or the fade stops play, or Ctrl-C.
Ending PlayToTheEnd(double seconds, bool live, const PlayPlan& plan, LivePlay& extras) {
  const Clock::time_point start = Clock::now();
  ClosingFade fade;
  Clock::time_point endedAt{};
  Clock::time_point statusAt = start;
  const auto period = std::min(kStatusPeriod, extras.Period().value_or(kStatusPeriod));
  PlayFromTick(plan.from);
  for (;;) {
    std::this_thread::sleep_for(fade.started() ? kFadeWatchPeriod : period);
    fade.Keep();
    extras.Poll();
    if (interrupted) {
      Halt();
      return Ending::kHalted;
    }
    if (live && Clock::now() - statusAt >= kStatusPeriod) {
      PrintStatus(true, "");
      statusAt = Clock::now();
    }
    // A halt made by a control thread may be the first half of the music's
    // own restart: only a halt that stays is the end.
    const bool settled = !PlayControlsBusy();
    if (settled && GetStatus() == EngineStatus::kStopped)
      return plan.to != 0 && GetState().tick >= plan.to ? Ending::kEnd : Ending::kStopped;
    if (settled && PlayingTracks(GetState()) == 0) {
      if (endedAt == Clock::time_point{}) endedAt = Clock::now();
      if (Clock::now() - endedAt >= kEndingRing) {
        Halt();
        return Ending::kEnd;
      }
    } else {
      endedAt = {};
    }
    if (seconds > 0 && !fade.started() && Clock::now() - start >= std::chrono::duration<double>(seconds)) fade.Start();
  }
}

}  // namespace

int RunPlay(const Arguments& args) {
  double seconds = 0;
  if (auto text = args.Option("--seconds"); text && !ParseSeconds(*text, seconds)) {
    std::fprintf(stderr, "tsy: --seconds needs a number of seconds above 0, not '%s'\n", text->c_str());
    return kUsageFault;
  }
  PlayPlan plan;
  if (!ReadPlayPlan(args, plan)) return kUsageFault;
  const std::string source = args.positional[0];
  if (plan.fromLine && !IsSourcePath(source)) {
    std::fprintf(stderr, "tsy: --from-line needs a source (.mus); %s is an object image\n", source.c_str());
    return kUsageFault;
  }
  std::vector<uint8_t> objectBuffer;
  SourceMap map;
  if (!ReadMusic(source, objectBuffer, &map)) return 2;

  std::string device = ChooseOutput(args);
  ApplyDeviceChoice(device, [](const std::string& text) { std::fprintf(stderr, "tsy: %s\n", text.c_str()); });
  LoadMusic(objectBuffer);
  LivePlay extras;
  if (!SettlePlayPlan(source, map, plan) || !extras.Start(args, source, objectBuffer, std::move(map))) {
    CloseOutput();
    return 2;
  }
  SetPlayRange({plan.from, plan.to, plan.loop});
  if (extras.FeedOnStdout()) said = stderr;

  if (PlayThreadInStandby()) {
    std::fprintf(said, "standby: no output could be opened; %s is not played\n", source.c_str());
  } else {
    std::fprintf(said, "playing %s through %s (%s)\n", source.c_str(), OpenOutputName().c_str(),
                 BackendName(Delivery().kind()));
    std::fflush(said);
    // A terminal closed or a service stopped halts play as Ctrl-C does.
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, OnInterrupt);
    const bool live = isatty(fileno(said));
    const Ending ending = PlayToTheEnd(seconds, live, plan, extras);
    PrintStatus(live, kEndingWords[static_cast<int>(ending)]);
  }
  CloseOutput();
  return 0;
}

}  // namespace tsy::cli
