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

// Writes one pass's messages at `tick`, keeping the channel record as
// delivery would: notes are held back until every track of the tick has
// written its other messages.
void WriteMessages(SmfWriter& writer, int64_t tick, const MessageWord* words, int count, const MessageSlots& slots,
                   std::vector<MessageWord>& notes) {
  for (int i = 0; i < count; ++i) {
    const MessageWord w = words[i];
    const uint8_t* slot = slots[WordSlot(w)].data();
    if (IsNoteMessage(w)) {
      notes.push_back(w);
    } else if (IsShortMessage(w)) {
      RecordShort(w);
      writer.ShortMessage(tick, w);
    } else if (IsMetaWord(w)) {
      writer.Meta(tick, slot, WordLength(w));
    } else {
      RecordLong(slot, WordLength(w));
      writer.SysEx(tick, slot, WordLength(w));
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

RenderEnd RenderSmf(SmfSink& sink, uint32_t& endTick, uint32_t from) {
  const uint8_t* image = CurrentImage();
  EngineState& s = GetState();
  const int64_t length = LongestTrack(image);
  const bool initialise = !(image[kFlagsField] & kImageFlagOwnInit);
  int64_t j = initialise ? -kPreambleTicks : 0;
  SmfWriter writer(j, sink);
  static MessageWord words[kMessageCapacity];
  static MessageSlots slots;
  static ChasedState chase;
  std::vector<MessageWord> notes;
  bool fadeStarted = false;
  SmfPreamble preamble;
  // Music from `from` on is written from file time 0, after the preamble and
  // the state chased there.
  auto fileTick = [from](int64_t tick) { return tick < 0 ? tick : tick - from; };

  for (; j < 2 * length + kEndAfterTwice && writer.ok(); ++j) {
    if (j == 0 && from > 0) {
      j = SeekTo(from, chase);
      const auto state = chase.Messages();
      WriteMessages(writer, 0, state.data(), static_cast<int>(state.size()), chase.Slots(), notes);
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
      WriteMessages(writer, fileTick(j), words, count, slots, notes);
    }
    if (ended == kTrackCount) break;
    for (MessageWord note : notes) writer.ShortMessage(fileTick(j), note);
  }
  endTick = s.tick;
  if (writer.full()) return RenderEnd::kTrackFull;
  return writer.Finish() ? RenderEnd::kWhole : RenderEnd::kSinkFailed;
}

std::vector<uint8_t> RenderSmf(uint32_t& endTick, uint32_t from) {
  MemorySink sink;
  RenderSmf(sink, endTick, from);
  return std::move(sink.bytes);
}

SmfExport ExportSmf(const std::string& path, double limitSeconds, uint32_t from) {
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
  const RenderEnd end = RenderSmf(sink, result.endTick, from);
  if (end == RenderEnd::kTrackFull) {
    result.outcome = SmfOutcome::kTooLarge;
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
