// How fast the engine renders without a device: the SMF export of a piece
// (the demo, or a source given on the command line) repeated a number of
// times. Prints ms per render, engine ticks per second and µs per loop of
// the 48 track passes, which the play thread runs about once a millisecond.
//
// usage: smf_render [SOURCE.mus] [REPEATS]   (default examples/demo.mus from the
// repository root, 50)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/compiler/compile_driver.h"
#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/smf/export_smf.h"

int main(int argc, char** argv) {
  using namespace tsy;
  const std::string source = argc > 1 ? argv[1] : "examples/demo.mus";
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 50;
  CompileResult compiled = CompileFile(source);
  if (!compiled.opened || compiled.image.size() <= kImageHeaderSize) {
    std::fprintf(stderr, "smf_render: %s gives no music\n", source.c_str());
    return 2;
  }
  std::vector<uint8_t> buffer(kObjectBufferSize, 0);
  std::copy(compiled.image.begin(), compiled.image.end(), buffer.begin());

  uint32_t endTick = 0;
  size_t bytes = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repeats; ++i) {
    LoadImage(buffer.data(), buffer.size());
    bytes = RenderSmf(endTick).size();
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const double perRender = ms / repeats;
  std::printf("%s: %u ticks, %zu bytes\n", source.c_str(), endTick, bytes);
  std::printf("%.3f ms per render, %.0f ticks/s, %.2f us per loop of 48 passes\n", perRender,
              endTick / perRender * 1000.0, perRender * 1000.0 / endTick);
  return 0;
}
