#include "core/compiler/compile_driver.h"

#include <algorithm>
#include <cstring>

#include "core/compiler/compile_unit.h"
#include "core/compiler/image_writer.h"
#include "core/compiler/source_reader.h"
#include "core/compiler/substitution.h"
#include "core/compiler/track_parser.h"

namespace tsy {
namespace {

constexpr uint32_t kTicksPerBar = 192;            // one 4/4 bar, as the summary counts
constexpr size_t kMaxCopyrightLength = 80;        // longer: kCopyrightTooLong
constexpr size_t kCopyrightLookAhead = 1023;      // characters searched for the closing quote
constexpr uint32_t kTrackNumberCeiling = 100000;  // a longer number selects nothing anyway

constexpr std::string_view kMyInitSpace = "myinitspace";
constexpr std::string_view kCopyright = "copyright";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsUpperCase(char c) { return c >= 'A' && c <= 'Z'; }

// The selection state of the top level within one pass: the track list
// before a block, read item by item.
struct Selection {
  uint32_t number = 0;      // N, the number being read
  uint32_t rangeStart = 0;  // R, 0 = none
  bool range = false;
  bool selected = false;
  bool singleNumber = true;  // the list before the block is one number: "|" counts segments
  bool inBlock = false;

  void ClearItem() {
    number = rangeStart = 0;
    range = selected = false;
  }
};

class Compiler {
 public:
  explicit Compiler(std::string_view source) : parser_(unit_) {
    unit_.diagnostics.Clear();
    CondensedSource condensed = CondenseSource(SourceToCp932(source));
    unit_.text = std::move(condensed.text);
    unit_.lines = std::move(condensed.lines);
    unit_.expandLetter = [this](CompileUnit& unit, size_t index) { return substitutions_.Expand(unit, index); };
  }

  // Object set-up, the 48 passes (stopping after a failed one), and the finish.
  void Run(CompileResult& result) {
    image_ = NewImage();
    for (int track = 1; track <= kTrackCount; ++track) {
      Pass(track);
      if (!unit_.diagnostics.errorFree()) {
        result.faultedTrack = track;
        result.faultedTrackBytes = unit_.track;
        result.faultedTrackEvents = unit_.trackEvents;
        break;
      }
      if (unit_.track.empty()) continue;
      result.sourceMap.AddTrack(track, static_cast<uint32_t>(image_.size()), unit_.trackEvents);
      AppendTrackStream(image_, track, unit_.track, parser_.trackTicks());
    }
    FinishImage(image_, flags_);
    result.image = std::move(image_);
    result.messageText = unit_.diagnostics.text();
    result.diagnostics = unit_.diagnostics.records();
  }

 private:
  // One pass over the whole text for `track`, ending with its summary entry.
  void Pass(int track) {
    track_ = static_cast<uint32_t>(track);
    unit_.track.clear();
    unit_.trackEvents.clear();
    unit_.imageLength = image_.size();
    unit_.diagnostics.BeginTrack(track);
    parser_.ResetForTrack();
    substitutions_.ClearRegistrations();
    selection_ = Selection{};
    bool going = true;
    // The text's end is looked at anew every step: expansions move it.
    for (size_t i = 0; going && i < unit_.text.size();) going = selection_.inBlock ? BlockStep(i) : TopLevelStep(i);
    AppendSummary();
  }

  // Handles the top-level character at `i` and moves past it. Returns false
  // when the pass ends (kBadTrackSelection, kSubstitutionNotRegistrable, kSubstitutionTooLong).
  bool TopLevelStep(size_t& i) {
    const char c = unit_.text[i];
    Selection& s = selection_;
    if (IsDigit(c)) {
      s.number = std::min(s.number * 10 + static_cast<uint32_t>(c - '0'), kTrackNumberCeiling);
      ++i;
    } else if (c == '-') {
      if (s.rangeStart != 0) {
        unit_.diagnostics.Raise(TextId::kBadTrackSelection, unit_.PositionAt(i));
        return false;
      }
      s.rangeStart = s.number;
      s.number = 0;
      s.range = true;
      s.singleNumber = false;
      ++i;
    } else if (c == ',') {
      EvaluateItem();
      s.number = s.rangeStart = 0;
      s.range = s.singleNumber = false;
      ++i;
    } else if (c == '[') {
      EvaluateItem();
      ++i;
      if (s.selected) s.inBlock = true;
      else SkipUnselectedBlock(i);
      s.ClearItem();
    } else if (c == '%') {
      Directive(i);
    } else if (c == '$') {
      return Registration(i);
    } else {
      s.ClearItem();
      i += unit_.text.CharacterWidth(i);
    }
    return true;
  }

  // The item just read selects the current track: a range in either order, or one number.
  void EvaluateItem() {
    Selection& s = selection_;
    uint32_t low = s.range ? std::min(s.rangeStart, s.number) : s.number;
    uint32_t high = s.range ? std::max(s.rangeStart, s.number) : s.number;
    if (track_ >= low && track_ <= high) s.selected = true;
  }

  // A block that does not name this track, from the character after "[":
  // with a one-number list each "|" outside quotes counts one track further
  // and may start this track's segment; otherwise a "|" is a fault (kBarOutsideSingleBlock).
  void SkipUnselectedBlock(size_t& i) {
    const CondensedText& text = unit_.text;
    Selection& s = selection_;
    bool quoted = false;
    for (; i < text.size(); i += text.CharacterWidth(i)) {
      const char c = text[i];
      if (c == '"') quoted = !quoted;
      if (quoted) continue;
      if (c == ']') {
        s.singleNumber = true;
        ++i;
        return;
      }
      if (c != '|') continue;
      if (!s.singleNumber) {
        unit_.diagnostics.Raise(TextId::kBarOutsideSingleBlock, unit_.PositionAt(i));
        continue;
      }
      if (++s.number == track_) {
        s.inBlock = true;
        ++i;
        return;
      }
    }
  }

  // From a "|" inside a compiled block: the rest of the block, up to the
  // "]" outside quotes, belongs to other tracks.
  void SkipRestOfBlock(size_t& i) {
    const CondensedText& text = unit_.text;
    bool quoted = false;
    for (; i < text.size(); i += text.CharacterWidth(i)) {
      if (text[i] == '"') quoted = !quoted;
      if (!quoted && text[i] == ']') {
        ++i;
        return;
      }
    }
  }

  // directive -> "%" ("myinitspace" | "copyright" ['"' text '"'])
  // Anything else after "%" is skipped together with the "%".
  void Directive(size_t& i) {
    if (unit_.text.HasAt(i + 1, kMyInitSpace)) {
      flags_ |= kImageFlagOwnInit;
      i += 1 + kMyInitSpace.size();
    } else if (unit_.text.HasAt(i + 1, kCopyright)) {
      flags_ |= kImageFlagCopyright;
      i += 1 + kCopyright.size();
      CopyrightText(i);
    } else {
      ++i;
      if (i < unit_.text.size()) i += unit_.text.CharacterWidth(i);
    }
  }

  // The optional quoted text after "%copyright", from `i`: consumed, checked
  // for length (kCopyrightTooLong at the character after it), not stored.
  void CopyrightText(size_t& i) {
    const CondensedText& text = unit_.text;
    if (i >= text.size() || text[i] != '"') return;
    size_t start = ++i;
    while (i < text.size() && text[i] != '"' && i - start < kCopyrightLookAhead) ++i;
    size_t length = i - start;
    if (i < text.size() && text[i] == '"') ++i;
    if (length > kMaxCopyrightLength) unit_.diagnostics.Raise(TextId::kCopyrightTooLong, unit_.PositionAt(i));
  }

  // registration -> "$" letter "[" body "]"
  // Returns false when the pass ends: no "[" (kSubstitutionNotRegistrable), or a body that is too
  // long or not closed before the end of the text (kSubstitutionTooLong).
  bool Registration(size_t& i) {
    const CondensedText& text = unit_.text;
    if (i + 1 >= text.size() || !IsLetter(text[i + 1])) {
      ++i;
      if (i < text.size()) i += text.CharacterWidth(i);
      return true;
    }
    const char letter = text[i + 1];
    size_t open = i + 2;
    if (open >= text.size() || text[open] != '[') {
      unit_.diagnostics.Raise(TextId::kSubstitutionNotRegistrable, unit_.PositionAt(open));
      return false;
    }
    size_t start = open + 1;
    size_t end = start;
    while (end < text.size() && text[end] != ']' && end - start <= SubstitutionTable::kMaxBodyLength)
      end += text.CharacterWidth(end);
    if (end >= text.size() || text[end] != ']' || end - start > SubstitutionTable::kMaxBodyLength) {
      unit_.diagnostics.Raise(TextId::kSubstitutionTooLong, unit_.PositionAt(end));
      return false;
    }
    substitutions_.Register(letter, text.Substr(start, end - start));
    i = end + 1;
    return true;
  }

  // Handles the in-block character at `i`: the end of the block or segment,
  // a substitution letter, or a command for the track parser. Returns false
  // when the pass ends.
  bool BlockStep(size_t& i) {
    CondensedText& text = unit_.text;
    if (!parser_.upperCaseLetters() && IsUpperCase(text[i])) text.Set(i, static_cast<char>(text[i] - 'A' + 'a'));
    const char c = text[i];
    if (c == ']' || c == '|') {
      if (c == ']') ++i;
      else SkipRestOfBlock(i);
      selection_.inBlock = false;
      selection_.singleNumber = true;
      return true;
    }
    if (IsUpperCase(c)) return substitutions_.Expand(unit_, i);  // compiled from the same index
    size_t before = unit_.track.size();
    size_t last = std::max(parser_.ParseCommand(i), i);
    CheckSize(before, last);
    i = parser_.skipRestOfText() ? text.size() : last + 1;
    if (!unit_.diagnostics.errorFree()) return false;
    selection_.singleNumber = true;
    return true;
  }

  // After each command: the track and the image so far must stay within
  // the limit (kDataOverflow); a command that would overrun the object buffer is
  // taken back.
  void CheckSize(size_t before, size_t last) {
    size_t total = unit_.track.size() + unit_.imageLength;
    if (total <= kImageSoftLimit) return;
    if (total > kObjectBufferSize) unit_.TruncateTrack(before);
    unit_.diagnostics.RaiseOverflow(unit_.PositionAt(last));
  }

  // "kk:" (or "Break-kk:" after a fault), then bars.ticks, four tracks a line.
  void AppendSummary() {
    Diagnostics& d = unit_.diagnostics;
    const int track = static_cast<int>(track_);
    if (d.errorFree()) d.Append("%02d:", track);
    else d.Append("Break-%02d:", track);
    if (uint32_t ticks = parser_.trackTicks(); ticks == 0) d.Append("-------      ");
    else d.Append("%4u.%03u      ", ticks / kTicksPerBar, ticks % kTicksPerBar);
    if (track % 4 == 0) d.Append("\n");
  }

  CompileUnit unit_;
  TrackParser parser_;
  SubstitutionTable substitutions_;
  std::vector<uint8_t> image_;
  uint8_t flags_ = 0;   // the header flags the directives set
  uint32_t track_ = 0;  // the track of the current pass, 1..48
  Selection selection_;
};

}  // namespace

CompileResult CompileSource(std::string_view sourceBytes) {
  CompileResult result;
  result.opened = true;
  Compiler(sourceBytes).Run(result);
  return result;
}

CompileResult CompileFile(const std::string& path, uint8_t* objectBuffer) {
  std::string bytes;
  if (const FileResult read = ReadSourceFile(path, bytes); !read.ok()) {
    CompileResult result;
    result.readError = read.error;
    return result;
  }
  CompileResult result = CompileSource(bytes);
  for (DiagnosticRecord& d : result.diagnostics) d.file = path;
  if (objectBuffer) std::memcpy(objectBuffer, result.image.data(), std::min(result.image.size(), kObjectBufferSize));
  return result;
}

}  // namespace tsy
