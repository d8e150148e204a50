#pragma once
// The compile entry: one source file in; out come the object image, the
// message text (diagnostics and the per-track summary), every diagnostic as
// a record, and the source map of the image's events.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/compiler/diagnostics.h"
#include "core/compiler/source_map.h"

namespace tsy {

struct CompileResult {
  bool opened = false;                        // false: the source could not be read (kCannotOpen)
  int readError = 0;                          // errno value when it could not be read
  std::vector<uint8_t> image;                 // the object image; after a fault, the tracks before it
  std::string messageText;                    // CP932, as the result box shows it (kCompileResultCaption)
  std::vector<DiagnosticRecord> diagnostics;  // every diagnostic with its position and track
  SourceMap sourceMap;                        // where each event of the image's streams came from
  // The pass that raised the diagnostic, which the image leaves out: its
  // track (0 when none failed), the events it wrote before the fault and
  // where each came from (offsets into faultedTrackBytes). Editors show the
  // lengths of the notes before a fault from them.
  int faultedTrack = 0;
  std::vector<uint8_t> faultedTrackBytes;
  std::vector<SourceMapEntry> faultedTrackEvents;

  bool errorFree() const { return diagnostics.empty(); }
  // What the compile returns to the shell: 0 when the source could not be
  // read, 403 for an image without tracks, more when a track was compiled.
  uint32_t imageLength() const { return opened ? static_cast<uint32_t>(image.size()) : 0; }
};

// Compiles source bytes (CP932, or UTF-8, which is converted first).
CompileResult CompileSource(std::string_view sourceBytes);

// Reads and compiles the file at `path`. When `objectBuffer` (the shell's
// kObjectBufferSize bytes) is given and the file could be read, the image is
// copied to its start, whether or not a fault occurred; otherwise the buffer
// is untouched. The caller shows messageText (or kCannotOpen when !opened).
CompileResult CompileFile(const std::string& path, uint8_t* objectBuffer = nullptr);

}  // namespace tsy
