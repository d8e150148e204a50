#pragma once
// ExportSmf: the loaded music, rendered by the engine's own track passes tick
// by tick without a device, written as a format-0 Standard MIDI File. Songs
// that loop for ever are rendered twice over their length and faded out.

#include <cstdint>
#include <string>
#include <vector>

#include "core/smf/render_length.h"
#include "core/smf/smf_writer.h"

namespace tsy {

enum class SmfOutcome {
  kWritten,       // the file is complete
  kCannotCreate,  // the file could not be created (kCannotOpen, the file name as caption)
  kWriteFailed,   // writing failed; the target was left as it was
  kNoImage,       // no image is loaded into the engine
  kTooLong,       // the render could run past the limit (`length` says how long); nothing was written
  kTooLarge,      // the track outgrew the 4 GiB an SMF track can hold; the target was left as it was
};

struct SmfExport {
  SmfOutcome outcome = SmfOutcome::kNoImage;
  uint32_t endTick = 0;  // the engine's tick at the end of the render
  std::string reason;    // what the system said, when the file failed
  RenderLength length;   // the longest the render could run

  // The end as bars of 192 ticks and ticks, "%d.%03d", for the message box
  // captioned kSmfResultCaption.
  std::string EndPosition() const;
};

// How a render into a sink ended.
enum class RenderEnd {
  kWhole,       // every tick was written
  kSinkFailed,  // the sink refused bytes; the render stopped there
  kTrackFull,   // the track outgrew its 32-bit length; the render stopped there
};

// The kinds of file the export writes.
enum class SmfFormat {
  kSingleTrack,    // format 0: every message in one track, as the desktop program writes it
  kTrackPerTrack,  // format 1: a tempo map, then one track per track of the image with a stream
};

// Renders the engine's image into `sink` as SMF bytes of `format`. The caller has the
// engine to itself (status kExporting, or no play thread). Every message
// written keeps the engine's record of channel settings as delivery does, so
// the file holds what play sends. `endTick` receives the engine's tick at the end.
// From a tick `from` above 0, the passes run silently up to it (seek.h) and
// the file holds, after the preamble, the state chased there at time 0 and
// then the music from `from` on, as play from that tick sends it.
RenderEnd RenderSmf(SmfSink& sink, uint32_t& endTick, SmfFormat format = SmfFormat::kSingleTrack, uint32_t from = 0);
// The same into memory, for readers of the whole file.
std::vector<uint8_t> RenderSmf(uint32_t& endTick, SmfFormat format = SmfFormat::kSingleTrack, uint32_t from = 0);

// Refuses, before anything is touched, music whose render could run longer
// than `limitSeconds`. Otherwise creates `path` (before touching the engine),
// takes the engine over from the play thread, and renders straight into a
// temporary file renamed over `path`. The engine stays with the SMF writer
// (status kExporting) until play starts from the top again.
SmfExport ExportSmf(const std::string& path, double limitSeconds = kDefaultRenderLimitSeconds,
                    SmfFormat format = SmfFormat::kSingleTrack, uint32_t from = 0);

}  // namespace tsy
