// Play from anywhere and live reload, in figures:
// - seek with chase to the last bar of a piece (default bench/ten_minutes.mus):
//   ms per seek, the silent passes from tick 0 plus the chased state;
// - a save of a source on disk (default examples/demo.mus, copied to a
//   scratch folder) until its new image waits for the play thread: ms from
//   the write to the hand-over, through the watch of tsy play --watch;
// - the positions feed while the piece plays: µs per line (the state's copy
//   and the JSON) and the share of a core at one line every 20 ms.
//
// usage: seek_bench [PIECE.mus] [SAVED.mus] [REPEATS]   (from the repository root)

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/positions_feed.h"
#include "cli/source_watch.h"
#include "core/compiler/compile_driver.h"
#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "core/engine/seek.h"
#include "core/engine/state_snapshot.h"
#include "core/smf/render_length.h"

namespace {

using namespace tsy;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::vector<uint8_t> ObjectBuffer(const CompileResult& compiled) {
  std::vector<uint8_t> buffer(kObjectBufferSize, 0);
  std::copy(compiled.image.begin(), compiled.image.end(), buffer.begin());
  return buffer;
}

void BenchSeek(const std::string& piece, const std::vector<uint8_t>& buffer, int repeats) {
  LoadImage(buffer.data(), buffer.size());
  const uint32_t lastBar = static_cast<uint32_t>((LongestTrack(CurrentImage()) - 1) / kBarTicks * kBarTicks);
  static ChasedState chase;
  double best = 1e9, total = 0;
  for (int i = 0; i < repeats; ++i) {
    RewindTracks();
    ResetEngine();
    const auto start = Clock::now();
    SeekTo(lastBar, chase);
    const double ms = MsSince(start);
    best = std::min(best, ms);
    total += ms;
  }
  std::printf("seek with chase to %s bar %u (tick %u): %.3f ms mean, %.3f ms best, %zu messages chased\n",
              piece.c_str(), lastBar / kBarTicks, lastBar, total / repeats, best, chase.Messages().size());
}

void BenchFeed(const std::vector<uint8_t>& buffer, const SourceMap& map, int repeats) {
  LoadImage(buffer.data(), buffer.size());
  static ChasedState chase;
  SeekTo(2000, chase);
  PublishEngineState();
  static EngineState copy;
  size_t bytes = 0;
  const auto start = Clock::now();
  for (int i = 0; i < repeats * 100; ++i) {
    ReadEngineState(copy);
    bytes += cli::PositionsLine(copy, &map).size();
  }
  const double us = MsSince(start) * 1000.0 / (repeats * 100);
  const double linesPerSecond = 1000.0 / cli::PositionsFeed::kPeriod.count();
  std::printf("positions feed: %.1f us per line (%zu bytes), %.3f %% of a core at %.0f lines a second\n", us,
              bytes / static_cast<size_t>(repeats * 100), us * linesPerSecond / 1e4, linesPerSecond);
}

void BenchReload(const std::string& saved, int repeats) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("seek_bench." + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path source = folder / "saved.mus";
  std::ifstream in(saved, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  std::ofstream(source, std::ios::binary) << text;
  const CompileResult first = CompileFile(source.string());
  cli::SourceWatch watch;
  if (!watch.Start(source.string(), ObjectBuffer(first), first.sourceMap, 0)) return;
  double total = 0, best = 1e9;
  for (int i = 0; i < repeats; ++i) {
    const auto start = Clock::now();
    // Each save changes the music (a last track of one note, its length
    // alternating), so that it has something to take over.
    std::ofstream(source, std::ios::binary) << text << "48[ o4 c" << (i % 2 ? 4 : 8) << " ]\n";
    const auto limit = start + std::chrono::seconds(5);
    while (!TakeoverPending() && Clock::now() < limit) watch.Poll();
    if (!TakeoverPending()) {
      std::printf("save %d was not handed over within 5 s\n", i);
      break;
    }
    const double ms = MsSince(start);
    total += ms;
    best = std::min(best, ms);
    WithdrawTakeover();  // nothing plays: the hand-over is let go
  }
  std::filesystem::remove_all(folder);
  std::printf("save of %s to its new image handed over: %.3f ms mean, %.3f ms best\n", saved.c_str(), total / repeats,
              best);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known
  const std::string piece = argc > 1 ? argv[1] : "bench/ten_minutes.mus";
  const std::string saved = argc > 2 ? argv[2] : "examples/demo.mus";
  const int repeats = argc > 3 ? std::atoi(argv[3]) : 20;
  const CompileResult compiled = CompileFile(piece);
  if (!compiled.opened || compiled.image.size() <= kImageHeaderSize) {
    std::fprintf(stderr, "seek_bench: %s gives no music\n", piece.c_str());
    return 2;
  }
  const std::vector<uint8_t> buffer = ObjectBuffer(compiled);
  BenchSeek(piece, buffer, repeats);
  BenchFeed(buffer, compiled.sourceMap, repeats);
  BenchReload(saved, repeats);
  return 0;
}
