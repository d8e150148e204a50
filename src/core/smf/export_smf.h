#pragma once
// ExportSmf: the loaded music, rendered by the engine's own track passes tick
// by tick without a device, written as a format-0 Standard MIDI File. Songs
// that loop for ever are rendered twice over their length and faded out.

#include <cstdint>
#include <string>
#include <vector>

namespace tsy {

enum class SmfOutcome {
  kWritten,       // the file is complete
  kCannotCreate,  // the file could not be created (kCannotOpen, the file name as caption)
  kWriteFailed,   // writing failed; the target was left as it was
  kNoImage,       // no image is loaded into the engine
};

struct SmfExport {
  SmfOutcome outcome = SmfOutcome::kNoImage;
  uint32_t endTick = 0;  // the engine's tick at the end of the render
  std::string reason;    // what the system said, when the file failed

  // The end as bars of 192 ticks and ticks, "%d.%03d", for the message box
  // captioned kSmfResultCaption.
  std::string EndPosition() const;
};

// Renders the engine's image into SMF bytes. The caller has the engine to
// itself (status kExporting, or no play thread). `endTick` receives the
// engine's tick at the end.
std::vector<uint8_t> RenderSmf(uint32_t& endTick);

// Creates `path` (before touching the engine), takes the engine over from
// the play thread, renders and writes the file through a temporary file
// renamed over `path`. The engine stays with the SMF writer (status
// kExporting) until play starts from the top again.
SmfExport ExportSmf(const std::string& path);

}  // namespace tsy
