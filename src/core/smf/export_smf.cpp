#include "core/smf/export_smf.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "core/engine/channel_record.h"
#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "core/engine/state_snapshot.h"
#include "core/smf/smf_format1_writer.h"
#include "core/smf/smf_preamble.h"
#include "platform/replacing_file.h"

namespace tsy {
namespace {

constexpr int64_t kBarTicks = 192;

// How long the export waits for a play thread to hand the engine over; one
// that answers at all does so within a loop (a start in progress takes 300 ms).
constexpr std::chrono::milliseconds kHandOverLimit{5000};
constexpr std::chrono::milliseconds kPollPeriod{1};

// Rewinds every track and takes the engine from the play thread. Without a
// play thread (or one that does not answer) nobody else runs passes, and the
// export confirms the hand-over itself.
void TakeEngine(const uint8_t* image) {
  Halt();
  ResetEngine();
  for (int t = 0; t < kTrackCount; ++t) {
    const uint32_t offset = ImageTrackOffset(image, t + 1);
    LoadTrack(t, offset != 0 && offset < kObjectBufferSize ? image + offset : nullptr);
  }
  RequestExport();
  const auto limit = std::chrono::steady_clock::now() + kHandOverLimit;
  while (PlayThreadRunning() && GetStatus() != EngineStatus::kExporting && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(kPollPeriod);
  if (GetStatus() != EngineStatus::kExporting) ConfirmExport();
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

// The render loop: the engine's passes tick by tick from `origin`, into `writer`.
RenderEnd Render(SmfEvents& writer, int64_t origin, uint32_t& endTick) {
  const uint8_t* image = CurrentImage();
  EngineState& s = GetState();
  const int64_t length = LongestTrack(image);
  int64_t j = origin;
  static MessageWord words[kMessageCapacity];
  static MessageSlots slots;
  std::vector<HeldNote> notes;
  bool fadeStarted = false;
  SmfPreamble preamble;

  for (; j < 2 * length + kEndAfterTwice && writer.ok(); ++j) {
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
      WriteMessages(writer, t, j, words, count, slots, notes);
    }
    if (ended == kTrackCount) break;
    for (const HeldNote& note : notes) writer.ShortMessage(note.track, j, note.word);
  }
  endTick = s.tick;
  if (writer.full()) return RenderEnd::kTrackFull;
  return writer.Finish() ? RenderEnd::kWhole : RenderEnd::kSinkFailed;
}

}  // namespace

RenderEnd RenderSmf(SmfSink& sink, uint32_t& endTick, SmfFormat format) {
  const uint8_t* image = CurrentImage();
  const int64_t origin = RenderOrigin(image);
  if (format == SmfFormat::kTrackPerTrack) {
    SmfFormat1Writer writer(origin, image, sink);
    return Render(writer, origin, endTick);
  }
  SmfWriter writer(origin, sink);
  return Render(writer, origin, endTick);
}

std::vector<uint8_t> RenderSmf(uint32_t& endTick, SmfFormat format) {
  MemorySink sink;
  RenderSmf(sink, endTick, format);
  return std::move(sink.bytes);
}

SmfExport ExportSmf(const std::string& path, double limitSeconds, SmfFormat format) {
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
  TakeEngine(image);
  FileSink sink(file);
  const RenderEnd end = RenderSmf(sink, result.endTick, format);
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
