// tsy dump --json: the header and every event of an image as one JSON
// document, for scripts; the same walk as the text listing.
#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/dump_walk.h"
#include "core/compiler/compile_driver.h"
#include "core/image/event_reader.h"
#include "core/image/image_header.h"
#include "platform/text_codec.h"

namespace tsy::cli {
namespace {

using json = nlohmann::ordered_json;

constexpr const char* kKindNames[] = {"note", "chord note", "", "end", "cut off", "no end"};  // ORDER WalkedEvent::Kind

json NoteOperands(std::span<const uint8_t> event, bool chordNote) {
  const uint8_t note = event[0];
  if (chordNote) return {{"note", note}, {"pitch", NoteName(note)}};
  json operands = json::object();
  if (note != kRestNote) operands = {{"note", note}, {"pitch", NoteName(note)}};
  operands["ticks"] = NoteTicks(event);
  operands["gate"] = event[kNoteGateAt];
  operands["flags"] = NoteFlagWords(event[kNoteFlagsAt]);
  return operands;
}

// Each operand under its name in the event table ("value" for an event's only one).
json EventOperands(std::span<const uint8_t> event, const EventInfo& info) {
  if (info.rule == SizeRule::kText) return {{"text", Cp932ToUtf8(std::string(event.begin() + 1, event.end() - 1))}};
  if (info.rule == SizeRule::kCounted) return {{"data", std::vector<uint8_t>(event.begin() + 2, event.end())}};
  json operands = json::object();
  size_t at = 1;
  for (const Operand& operand : OperandsOf(info)) {
    if (at >= event.size()) break;  // a selector event of code and selector alone
    if (operand.type != OperandType::kReserved) {
      const std::string name = !operand.name.empty()                    ? std::string(operand.name)
                               : operand.type == OperandType::kSelector ? "selector"
                                                                        : "value";
      operands[name] = OperandValue(operand.type, &event[at]);
    }
    at += OperandWidth(operand.type);
  }
  return operands;
}

json EventJson(const WalkedEvent& e, const SourceMap* sourceMap, int track) {
  json out = {{"tick", e.tick}, {"offset", e.offset}, {"bytes", std::vector<uint8_t>(e.bytes.begin(), e.bytes.end())}};
  const bool rest = !e.bytes.empty() && e.bytes[0] == kRestNote;
  switch (e.kind) {
    case WalkedEvent::Kind::kNote:
    case WalkedEvent::Kind::kChordNote:
      out["name"] = rest && e.kind == WalkedEvent::Kind::kNote ? "rest" : kKindNames[static_cast<int>(e.kind)];
      out["operands"] = NoteOperands(e.bytes, e.kind == WalkedEvent::Kind::kChordNote);
      break;
    case WalkedEvent::Kind::kEvent: {
      const EventInfo& info = *FindEvent(e.bytes[0]);
      out["name"] = std::string(info.name);
      out["operands"] = EventOperands(e.bytes, info);
      break;
    }
    default: out["name"] = kKindNames[static_cast<int>(e.kind)]; break;
  }
  const bool isEvent = e.kind == WalkedEvent::Kind::kNote || e.kind == WalkedEvent::Kind::kChordNote ||
                       e.kind == WalkedEvent::Kind::kEvent;
  if (const SourceMapEntry* entry = sourceMap && isEvent ? sourceMap->EventAt(track, e.offset) : nullptr;
      entry && entry->offset == e.offset) {
    out["line"] = entry->at.line;
    out["column"] = entry->at.column;
  }
  return out;
}

json HeaderJson(std::span<const uint8_t> image, const ImageHeader& header) {
  return {{"magic", "EMD1"},
          {"version", header.version},
          {"imageLength", header.imageLength},
          {"legacyLength", header.legacyLength},
          {"flags", header.flags},
          {"fileSize", image.size()}};
}

}  // namespace

std::string DumpJson(const std::string& path, std::span<const uint8_t> image, const SourceMap* sourceMap,
                     const std::string& source) {
  ImageHeader header;
  int badTrack = 0;
  ReadImageHeader(image, header, badTrack);
  json tracks = json::array();
  for (int track = 1; track <= kTrackCount; ++track) {
    const uint32_t offset = header.trackOffset[track - 1];
    const uint32_t ticks = header.trackTicks[track - 1];
    if (offset == 0 && ticks == 0) continue;
    json events = json::array();
    if (offset != 0)
      WalkTrack(image, offset, [&](const WalkedEvent& e) { events.push_back(EventJson(e, sourceMap, track)); });
    tracks.push_back({{"track", track}, {"offset", offset}, {"ticks", ticks}, {"events", std::move(events)}});
  }
  const json dump = {{"file", path},
                     {"source", source.empty() ? json() : json(source)},
                     {"header", HeaderJson(image, header)},
                     {"tracks", std::move(tracks)}};
  return dump.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string SourceOfImage(const std::string& path, std::span<const uint8_t> image, SourceMap& sourceMap) {
  for (const char* extension : {".mus", ".MUS"}) {
    std::string source = std::filesystem::path(path).replace_extension(extension).string();
    std::error_code error;
    if (!std::filesystem::is_regular_file(source, error)) continue;
    CompileResult compiled = CompileFile(source);
    if (!compiled.opened || !std::equal(compiled.image.begin(), compiled.image.end(), image.begin(), image.end()))
      return {};
    sourceMap = std::move(compiled.sourceMap);
    return source;
  }
  return {};
}

}  // namespace tsy::cli
