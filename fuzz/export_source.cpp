// Any source, compiled, exported and read back as the render reads it: the
// export must end within the fuzzer's time limit for every input whose
// render length (known from the header) stays within the limit below, must
// give a whole file no longer than that length, and must read back as timed
// messages. An input that runs too long is an unbounded export: the render
// length of its header does not bound it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/compiler/compile_driver.h"
#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/image/image_layout.h"
#include "core/smf/export_smf.h"
#include "core/smf/render_length.h"
#include "midiout/smf_reader.h"
#include "smf_walk.h"

namespace {

// Two minutes of music, the programs' refusal with a smaller limit: at most
// about 100,000 ticks at the fastest tempo, well within the time limit.
constexpr double kFuzzedRenderLimitSeconds = 120;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tsy;
  const CompileResult compiled = CompileSource(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<uint8_t> buffer(kObjectBufferSize, 0);
  std::copy(compiled.image.begin(), compiled.image.end(), buffer.begin());
  ClearEngineState();
  if (!LoadImage(buffer.data(), buffer.size()).ok() || !CurrentImage()) return 0;
  const RenderLength length = LongestRender(CurrentImage());
  if (length.Exceeds(kFuzzedRenderLimitSeconds)) return 0;  // refused before anything runs

  RequestExport();  // the engine is the export's alone, as for tsy render
  ConfirmExport();
  uint32_t endTick = 0;
  const std::vector<uint8_t> file = RenderSmf(endTick);
  uint64_t ticks = 0;
  if (!fuzz::WalkFile(file, ticks)) std::abort();
  if (ticks > static_cast<uint64_t>(length.ticks)) std::abort();  // longer than the header allows
  std::vector<TimedMessage> music;
  std::string fault;
  if (!ReadSmf(file, music, fault)) std::abort();
  return 0;
}
