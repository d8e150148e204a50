#include "app/playing_source.h"

#include <algorithm>

#include "core/compiler/source_reader.h"

namespace tsy {
namespace {

constexpr size_t kKeptGenerations = 2;  // the image playing and the one about to take over

std::vector<std::string> SourceLinesOf(const std::string& path) {
  std::string bytes;
  std::vector<std::string> lines;
  if (!ReadSourceFile(path, bytes).ok()) return lines;
  const std::string text = SourceToCp932(bytes);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace

void PlayingSources::Set(uint32_t generation, const std::string& source, SourceMap map) {
  Entry entry{generation, std::move(map), SourceLinesOf(source)};
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, [&](const Entry& e) { return e.generation == generation; });
  entries_.push_back(std::move(entry));
  while (entries_.size() > kKeptGenerations) entries_.pop_front();
}

void PlayingSources::Clear() {
  std::lock_guard lock(mutex_);
  entries_.clear();
}

PlayingSourceLine PlayingSources::Lookup(const EngineState& s, int track) const {
  const uint8_t* image = s.image;
  const uint8_t* next = s.trackPos[track];
  if (!image || !next || next <= image) return {};
  std::lock_guard lock(mutex_);
  const auto entry =
      std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.generation == s.imageGeneration; });
  if (entry == entries_.end()) return {};
  // The event a track plays is the last one its passes decoded.
  const SourceMapEntry* event = entry->map.EventBefore(track + 1, static_cast<uint32_t>(next - image));
  if (!event) return {};
  PlayingSourceLine at{event->at.line, event->at.column, {}};
  if (event->at.line >= 1 && event->at.line <= entry->lines.size()) at.text = entry->lines[event->at.line - 1];
  return at;
}

PlayingSources& ThePlayingSources() {
  static PlayingSources sources;
  return sources;
}

SourceLineLookup PlayingSourceLookup() {
  return [](const EngineState& s, int track) { return ThePlayingSources().Lookup(s, track); };
}

}  // namespace tsy
