#include "core/smf/export_smf.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "core/engine/channel_record.h"
#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "core/engine/seek.h"
#include "core/engine/state_snapshot.h"
#include "core/smf/smf_format1_writer.h"
#include "core/smf/smf_preamble.h"
#include "platform/replacing_file.h"

namespace tsy {
namespace {

// Rewinds every track and takes the engine from the play thread. Without a
// play thread (or one that does not answer) nobody else runs passes, and the
// export confirms the hand-over itself.
void RewindAndTakeEngine(const uint8_t* image) {
  Halt();
  ResetEngine();
  for (int t = 0; t < kTrackCount; ++t) {
    const uint32_t offset = ImageTrackOffset(image, t + 1);
    LoadTrack(t, offset != 0 && offset < kObjectBufferSize ? image + offset : nullptr);
  }
  TakeEngine();
}

struct HeldNote {
  int track;
  MessageWord word;
};

// Writes track `track`'s messages of one pass at `tick`, keeping the channel
// record as delivery would: notes are held back until every track of the
// tick has written its other messages.
void WriteMessages(SmfEvents& writer, int track, int64_t tick, const MessageWord* words, int count,
                   const MessageSlots& slots, std::vector<HeldNote>& notes) {
  for (int i = 0; i < count; ++i) {
    const MessageWord w = words[i];
    const uint8_t* slot = slots[WordSlot(w)].data();
    if (IsNoteMessage(w)) {
      notes.push_back({track, w});
    } else if (IsShortMessage(w)) {
      RecordShort(w);
      writer.ShortMessage(track, tick, w);
    } else if (IsMetaWord(w)) {
      writer.Meta(track, tick, slot, WordLength(w));
    } else {
      RecordLong(slot, WordLength(w));
      writer.SysEx(track, tick, slot, WordLength(w));
    }
  }
}

// The export's file: the writer's blocks go straight to the temporary file.
class FileSink : public SmfSink {
 public:
  explicit FileSink(ReplacingFile& file) : file_(file) {}
  bool Append(std::span<const uint8_t> bytes) override {
    file_.Write(bytes);
    return !file_.failed();
  }
  bool Overwrite(size_t offset, std::span<const uint8_t> bytes) override {
    file_.WriteAt(offset, bytes);
    return !file_.failed();
  }

 private:
  ReplacingFile& file_;
};

}  // namespace

std::string SmfExport::EndPosition() const {
  char text[32];
  const uint32_t last = endTick ? endTick - 1 : 0;
  std::snprintf(text, sizeof text, "%d.%03d", static_cast<int>(last / kBarTicks), static_cast<int>(last % kBarTicks));
  return text;
}

namespace {

// The tick the render starts at, which becomes file time 0: before the
// preamble bar unless the image does its own initialisation.
int64_t RenderOrigin(const uint8_t* image) { return image[kFlagsField] & kImageFlagOwnInit ? 0 : -kPreambleTicks; }

// The render loop: the engine's passes tick by tick from `origin`, into
// `writer`; from a tick `from` above 0, silently up to it, then the state
// chased there at file time 0 (on the first track).
RenderEnd Render(SmfEvents& writer, int64_t origin, uint32_t& endTick, uint32_t from) {
  const uint8_t* image = CurrentImage();
  EngineState& s = GetState();
  const int64_t length = LongestTrack(image);
  int64_t j = origin;
  static MessageWord words[kMessageCapacity];
  static MessageSlots slots;
  static ChasedState chase;
  std::vector<HeldNote> notes;
  bool fadeStarted = false;
  SmfPreamble preamble;
  // Music from `from` on is written from file time 0, after the preamble and
  // the state chased there.
  auto fileTick = [from](int64_t tick) { return tick < 0 ? tick : tick - from; };

  for (; j < 2 * length + kEndAfterTwice && writer.ok(); ++j) {
    if (j == 0 && from > 0) {
      j = SeekTo(from, chase);
      const auto state = chase.Messages();
      WriteMessages(writer, 0, 0, state.data(), static_cast<int>(state.size()), chase.Slots(), notes);
      if (j < from) break;  // the music ended before it
    }
    if (j >= 0) {
      s.tick = static_cast<uint32_t>(j);
      s.barTick = static_cast<uint32_t>(j % kBarTicks);
    }
    int ended = 0;
    notes.clear();
    for (int t = 0; t < kTrackCount; ++t) {
      int count = 0;
      if (j < 0) {
        if (ImageTrackLength(image, t + 1) != 0) count = preamble.Messages(t, j, words, slots);
      } else {
        count = TrackPass(t, words, &slots);
        if (count < 0) {
          ++ended;
        } else if (j > 2 * length + kFadeAfterTwice && !fadeStarted) {
          StartFade();
          fadeStarted = true;
        }
      }
      WriteMessages(writer, t, fileTick(j), words, count, slots, notes);
    }
    if (ended == kTrackCount) break;
    for (const HeldNote& note : notes) writer.ShortMessage(note.track, fileTick(j), note.word);
  }
  endTick = s.tick;
  if (writer.full()) return RenderEnd::kTrackFull;
  return writer.Finish() ? RenderEnd::kWhole : RenderEnd::kSinkFailed;
}

}  // namespace

RenderEnd RenderSmf(SmfSink& sink, uint32_t& endTick, SmfFormat format, uint32_t from) {
  const uint8_t* image = CurrentImage();
  const int64_t origin = RenderOrigin(image);
  if (format == SmfFormat::kTrackPerTrack) {
    SmfFormat1Writer writer(origin, image, sink);
    return Render(writer, origin, endTick, from);
  }
  SmfWriter writer(origin, sink);
  return Render(writer, origin, endTick, from);
}

std::vector<uint8_t> RenderSmf(uint32_t& endTick, SmfFormat format, uint32_t from) {
  MemorySink sink;
  RenderSmf(sink, endTick, format, from);
  return std::move(sink.bytes);
}

SmfExport ExportSmf(const std::string& path, double limitSeconds, SmfFormat format, uint32_t from) {
  SmfExport result;
  const uint8_t* image = CurrentImage();
  if (!image) return result;
  result.length = LongestRender(image);
  if (result.length.Exceeds(limitSeconds)) {
    result.outcome = SmfOutcome::kTooLong;
    return result;
  }
  ReplacingFile file(path);
  if (const FileResult created = file.Create(); !created.ok()) {
    result.outcome = SmfOutcome::kCannotCreate;
    result.reason = created.Reason();
    return result;
  }
  RewindAndTakeEngine(image);
  FileSink sink(file);
  const RenderEnd end = RenderSmf(sink, result.endTick, format, from);
  if (end == RenderEnd::kTrackFull) {
    result.outcome = SmfOutcome::kTooLarge;
  } else if (end == RenderEnd::kSinkFailed && !file.failed()) {  // a format-1 track's temporary storage
    result.outcome = SmfOutcome::kWriteFailed;
    result.reason = FileFailure(FileStatus::kCannotWrite).Reason();
  } else {
    const FileResult written = file.Commit();
    result.outcome = written.ok() ? SmfOutcome::kWritten : SmfOutcome::kWriteFailed;
    if (!written.ok()) result.reason = written.Reason();
  }
  PublishEngineState();  // the displays show where the render ended
  Halt();                // the status is kExporting: the engine stays with the writer
  return result;
}

}  // namespace tsy
