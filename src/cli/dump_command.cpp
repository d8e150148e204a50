// tsy dump FILE [--json]: an object image's header and every track's events,
// one per line with its tick, disassembled through the event table; or the
// same as one JSON document (dump_json.cpp) over the same walk.
#include <algorithm>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/dump_walk.h"
#include "cli/music_input.h"
#include "core/image/event_reader.h"
#include "core/image/image_header.h"
#include "platform/text_codec.h"

namespace tsy::cli {
namespace {

constexpr size_t kShownBytes = 7;  // raw bytes shown per line before "...": fits the column

// "F0 7E 7F": at most `shown` of `bytes`, then " ..." for the rest.
std::string Hex(std::span<const uint8_t> bytes, size_t shown = kShownBytes) {
  std::string out;
  char cell[4];
  for (size_t i = 0; i < bytes.size() && i < shown; ++i) {
    std::snprintf(cell, sizeof cell, "%s%02X", i ? " " : "", bytes[i]);
    out += cell;
  }
  if (bytes.size() > shown) out += " ...";
  return out;
}

std::string Signed(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%+d", value);
  return text;
}

std::string FlagWords(uint8_t flags) {
  std::string out;
  for (const char* word : NoteFlagWords(flags)) out.append(" ").append(word);
  return out;
}

std::string DescribeNote(std::span<const uint8_t> event, bool chordMember) {
  if (chordMember) return "chord note " + NoteName(event[0]);
  return (event[0] == kRestNote ? "rest " : "note " + NoteName(event[0]) + " ") + std::to_string(NoteTicks(event)) +
         " gate " + std::to_string(event[kNoteGateAt]) + FlagWords(event[kNoteFlagsAt]);
}

// The value of one operand as the listing shows it.
std::string OperandText(OperandType type, const uint8_t* at) {
  const int32_t value = OperandValue(type, at);
  switch (type) {
    case OperandType::kS8:
    case OperandType::kCentred16: return Signed(value);
    case OperandType::kSelector:
      if (value == kSelectVelocity) return "velocity";
      if (value == kSelectExpression) return "expression";
      return "mark " + Signed(OperandValue(OperandType::kS8, at));  // the event of code and selector alone
    case OperandType::kFlagChange: return (value & 0x80 ? "set " : "clear ") + std::to_string(value & 31);
    default: return std::to_string(value);
  }
}

// "tempo 120", "control cc 11 to 100": the event's name, then each operand
// with its name, as the event table lays them out; a text event shows its
// text, a system-exclusive event its data.
std::string DescribeEvent(std::span<const uint8_t> event) {
  const EventInfo& info = *FindEvent(event[0]);
  std::string out(info.name);
  if (info.rule == SizeRule::kText)
    return out + " \"" + Cp932ToUtf8(std::string(event.begin() + 1, event.end() - 1)) + "\"";
  if (info.rule == SizeRule::kCounted) return out + " " + Hex(event.subspan(2), event.size());
  size_t at = 1;
  for (const Operand& operand : OperandsOf(info)) {
    if (at >= event.size()) break;  // a selector event of code and selector alone
    if (operand.type != OperandType::kReserved) {
      out += ' ';
      if (!operand.name.empty()) out.append(operand.name).append(" ");
      out += OperandText(operand.type, &event[at]);
    }
    at += OperandWidth(operand.type);
  }
  return out;
}

void PrintEventLine(uint32_t tick, size_t offset, std::span<const uint8_t> bytes, const std::string& what) {
  std::printf("  %7u  %5zu  %-26s %s\n", tick, offset, Hex(bytes).c_str(), what.c_str());
}

void PrintWalked(const WalkedEvent& e) {
  switch (e.kind) {
    case WalkedEvent::Kind::kNote: PrintEventLine(e.tick, e.offset, e.bytes, DescribeNote(e.bytes, false)); return;
    case WalkedEvent::Kind::kChordNote: PrintEventLine(e.tick, e.offset, e.bytes, DescribeNote(e.bytes, true)); return;
    case WalkedEvent::Kind::kEvent: PrintEventLine(e.tick, e.offset, e.bytes, DescribeEvent(e.bytes)); return;
    case WalkedEvent::Kind::kEnd: PrintEventLine(e.tick, e.offset, e.bytes, "end"); return;
    case WalkedEvent::Kind::kCutOff:
      PrintEventLine(e.tick, e.offset, e.bytes, "(cut off by the end of the image)");
      return;
    case WalkedEvent::Kind::kNoEnd:
      std::printf("  %7u  %5zu  %-26s %s\n", e.tick, e.offset, "", "(no end before the end of the image)");
      return;
  }
}

// Lists the stream of one track, which starts at `offset`.
void DumpTrack(std::span<const uint8_t> image, int track, uint32_t offset, uint32_t ticks) {
  std::printf("\ntrack %d: offset %u, %u ticks\n", track, offset, ticks);
  std::printf("  %7s  %5s  %-26s %s\n", "tick", "at", "bytes", "event");
  WalkTrack(image, offset, PrintWalked);
}

void DumpHeader(std::span<const uint8_t> image, const ImageHeader& header) {
  std::printf("magic           EMD1\n");
  std::printf("format version  %u%s\n", header.version,
              IsPlayableVersion(header.version) ? "" : " (not played: only 17..23 are)");
  std::printf("image length    %u%s\n", header.imageLength,
              header.imageLength == image.size() ? "" : " (differs from the file's size)");
  std::printf("legacy length   %u\n", header.legacyLength);
  std::printf("flags           0x%02X%s%s\n", header.flags, header.flags & kImageFlagOwnInit ? " myinitspace" : "",
              header.flags & kImageFlagCopyright ? " copyright" : "");
  std::printf("file size       %zu\n", image.size());
}

// Lists `image`, whose header and offsets have been checked.
void DumpImage(std::span<const uint8_t> image) {
  ImageHeader header;
  int badTrack = 0;
  ReadImageHeader(image, header, badTrack);
  DumpHeader(image, header);
  for (int track = 1; track <= kTrackCount; ++track) {
    uint32_t ticks = header.trackTicks[track - 1];
    if (header.trackOffset[track - 1] != 0) DumpTrack(image, track, header.trackOffset[track - 1], ticks);
    else if (ticks != 0) std::printf("\ntrack %d: no stream, %u ticks\n", track, ticks);
  }
}

}  // namespace

std::string NoteName(uint8_t note) {
  static constexpr const char* kNoteNames[12] = {"c", "c+", "d", "d+", "e", "f", "f+", "g", "g+", "a", "a+", "b"};
  if (note == kRestNote) return "r";
  return "o" + std::to_string(note / 12 - 1) + kNoteNames[note % 12];
}

std::vector<const char*> NoteFlagWords(uint8_t flags) {
  std::vector<const char*> words;
  if (flags & kNoteAttack) words.push_back("attack");
  if (flags & kNoteRelease) words.push_back("release");
  if (flags & kNoteSlurred) words.push_back("slurred");
  return words;
}

uint32_t NoteTicks(std::span<const uint8_t> event) {
  uint32_t ticks = 0;
  for (uint8_t length : event.subspan(kNoteLengthsAt)) ticks += std::max<uint32_t>(length, 1);
  return ticks;
}

// A chord sounds at its first note's tick: its members and the events
// between them (an octave mark, say) are reached there too, and the first
// note's length counts once the last member is read.
void WalkTrack(std::span<const uint8_t> image, uint32_t offset, const std::function<void(const WalkedEvent&)>& visit) {
  ChordReader chord;
  uint32_t tick = 0;
  uint32_t chordTicks = 0;  // the sounding chord's length, not yet counted
  size_t at = offset;
  while (at < image.size()) {
    std::span<const uint8_t> rest = image.subspan(at);
    const uint8_t first = rest[0];
    const bool isNote = first < kFirstEventCode;
    if (!isNote && !FindEvent(first)) {
      bool terminator =
          rest.size() >= kTerminator.size() && std::equal(kTerminator.begin(), kTerminator.end(), rest.begin());
      visit({WalkedEvent::Kind::kEnd, tick + chordTicks, at, rest.first(terminator ? kTerminator.size() : 1)});
      return;
    }
    const bool member = isNote && chord.NextNoteIsMember();
    size_t size = EventSize(rest.data(), rest.size(), member);
    if (size == 0) {
      visit({WalkedEvent::Kind::kCutOff, tick, at, rest});
      return;
    }
    std::span<const uint8_t> event = rest.first(size);
    using Kind = WalkedEvent::Kind;
    visit({isNote ? (member ? Kind::kChordNote : Kind::kNote) : Kind::kEvent, tick, at, event});
    if (isNote) {
      if (!member) chordTicks = NoteTicks(event);
      chord.OnNote();
      if (!chord.NextNoteIsMember()) {
        tick += chordTicks;
        chordTicks = 0;
      }
    } else if (first == static_cast<uint8_t>(EventCode::kChordLink)) {
      chord.OnChordLink();
    }
    at += size;
  }
  visit({WalkedEvent::Kind::kNoEnd, tick + chordTicks, at, {}});
}

namespace {

int DumpOne(const Arguments& args, std::string& /*line*/) {
  const std::string path = args.positional[0];
  std::vector<uint8_t> image;
  bool diagnostic = false;
  SourceMap sourceMap;
  if (!ReadImage(path, image, &diagnostic, &sourceMap)) return 2;
  if (args.Option("--json")) {
    const std::string source = IsSourcePath(path) ? path : SourceOfImage(path, image, sourceMap);
    std::fputs(DumpJson(path, image, source.empty() ? nullptr : &sourceMap, source).c_str(), stdout);
  } else {
    DumpImage(image);
  }
  return diagnostic ? 1 : 0;
}

}  // namespace

int RunDump(const Arguments& args) { return RunEach(args, {DumpOne, nullptr, true}); }

}  // namespace tsy::cli
