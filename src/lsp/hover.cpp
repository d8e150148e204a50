// Hover: over a note, rest or default length, its length in ticks and as a
// note value; over a command, what it does and which values it takes; over a
// substitution letter, the body it stands for. Lengths are read from what the
// compiler wrote for that very note, so the default length, groups and
// ornaments count as they play.
#include <span>

#include "core/compiler/lengths.h"
#include "core/image/event_reader.h"
#include "lsp/features.h"
#include "lsp/mml_tokens.h"
#include "lsp/note_values.h"
#include "platform/text_codec.h"
#include "platform/text_format.h"

namespace tsy::lsp {
namespace {

constexpr const char* kNoteNames[12] = {"c", "c+", "d", "d+", "e", "f", "f+", "g", "g+", "a", "a+", "b"};

// "o4c+" for note 61.
std::string NoteName(uint8_t note) { return "o" + std::to_string(note / 12 - 1) + kNoteNames[note % 12]; }

// What the compiler wrote for the note or rest at one source position.
struct CompiledNote {
  bool found = false;
  bool member = false;  // a chord note after the first, which sounds for the chord's length
  uint8_t number = 0;   // the last note event's: the main note after any ornament notes
  int64_t ticks = 0;    // all its note events together (ornament notes and main note)
};

uint32_t NoteTicks(const uint8_t* event) {
  uint32_t ticks = 0;
  for (uint32_t i = 0; i <= event[kNoteCountAt]; ++i) ticks += std::max<uint8_t>(event[kNoteLengthsAt + i], 1);
  return ticks;
}

// Looks through the events of one stream (`bytes`, with the events' source
// map entries) for the note events written from `at`.
void FindInStream(std::span<const uint8_t> bytes, std::span<const SourceMapEntry> events, SourcePosition at,
                  CompiledNote& note) {
  ChordReader chord;
  uint32_t chordTicks = 0;
  for (const SourceMapEntry& event : events) {
    if (event.offset >= bytes.size()) return;
    const uint8_t* p = bytes.data() + event.offset;
    if (p[0] == static_cast<uint8_t>(EventCode::kChordLink)) chord.OnChordLink();
    if (p[0] >= kFirstEventCode) continue;
    const bool member = chord.NextNoteIsMember();
    if (!member && EventSize(p, bytes.size() - event.offset, false) == 0) return;
    if (!member) chordTicks = NoteTicks(p);
    chord.OnNote();
    if (!(event.at == at)) continue;
    note.found = true;
    note.member = member;
    note.number = p[0];
    note.ticks = member ? chordTicks : note.ticks + chordTicks;
  }
}

// The first track that compiled the note at `at`, the failed one included.
CompiledNote FindCompiledNote(const CompileResult& compiled, SourcePosition at) {
  CompiledNote note;
  for (int track = 1; track <= kTrackCount && !note.found; ++track)
    FindInStream(compiled.image, compiled.sourceMap.Events(track), at, note);
  if (!note.found) FindInStream(compiled.faultedTrackBytes, compiled.faultedTrackEvents, at, note);
  return note;
}

// "48 ticks = `4` (quarter note)".
std::string LengthLine(int64_t ticks, EditorLanguage language) {
  std::string line = Format(kTicksFormat.In(language), static_cast<long long>(ticks), LengthText(ticks).c_str());
  if (std::string name = NoteValueName(ticks, language); !name.empty()) line += " (" + name + ")";
  return line;
}

std::string NoteHover(const Document& document, const Token& token, EditorLanguage language) {
  const std::string written = document.Written(token.first, token.end);
  const CompiledNote note = FindCompiledNote(document.compiled, document.outline.PositionOf(token.first));
  const bool rest = token.kind == TokenKind::kRest;
  std::string text = Format((rest          ? kRestTitleFormat
                             : note.member ? kChordNoteTitleFormat
                                           : kNoteTitleFormat)
                                .In(language),
                            written.c_str());
  if (!note.found) return text + "\n\n" + kNotCompiledText.In(language);
  if (!rest) text += Format(kPitchFormat.In(language), NoteName(note.number).c_str(), note.number);
  text += "\n\n" + LengthLine(note.ticks, language);
  if (note.member) text += std::string(" ") + kChordLengthText.In(language);
  return text;
}

// The ticks of the default length `l…` written at [first, end), as the compiler reads it.
std::string DefaultLengthHover(const Document& document, const Token& token, EditorLanguage language) {
  const std::string written = document.Written(token.first, token.end);
  std::string text = Format(kDefaultLengthTitleFormat.In(language), written.c_str());
  const std::string terms = document.outline.text().Substr(token.first + 1, token.end - token.first - 1);
  CompileUnit unit;
  unit.text = CondensedText(terms, std::vector<uint32_t>(terms.size(), 0));
  TrackState state;
  ParseContext cx(unit, state, 0);
  ParseDefaultLength(cx);
  if (!cx.ok()) return text;
  return text + "\n\n" + LengthLine(TicksOf(state.defaultLength), language);
}

std::string CommandHover(const Document& document, const Token& token, EditorLanguage language) {
  const CommandHelp& help = *token.help;
  std::string name = token.kind == TokenKind::kAtCommand ? "@" + std::string(help.name) : std::string(help.name);
  if (help.name.empty()) name = document.Written(token.first, token.end);  // the tone command: its digits
  std::string text = "**" + name + "** — " + help.does.In(language);
  if (*help.values) text += "\n\n" + Format(kValuesFormat.In(language), help.values);
  return text;
}

std::string SubstitutionHover(const Document& document, const Token& token, EditorLanguage language) {
  const char letter = document.outline.text()[token.first];
  const Registration& r = *document.outline.RegistrationBefore(letter, token.first);
  return Format(kSubstitutionHoverFormat.In(language), letter, Cp932ToUtf8(r.body).c_str());
}

std::string HoverText(const Document& document, const Token& token, EditorLanguage language) {
  switch (token.kind) {
    case TokenKind::kNote:
    case TokenKind::kRest: return NoteHover(document, token, language);
    case TokenKind::kDefaultLength: return DefaultLengthHover(document, token, language);
    case TokenKind::kAtCommand:
    case TokenKind::kLetterCommand: return token.help ? CommandHover(document, token, language) : "";
    case TokenKind::kSubstitution: return SubstitutionHover(document, token, language);
    case TokenKind::kNone: return "";
  }
  return "";
}

}  // namespace

json Hover(Session& session, const json& params) {
  const Document& document = session.DocumentOf(params);
  const SourcePosition at = document.lines.ToSource(PositionFromJson(params.at("position")), session.encoding);
  const Token token = TokenAt(document.outline, at);
  const std::string text = HoverText(document, token, session.language);
  if (text.empty()) return nullptr;
  return {{"contents", {{"kind", "markdown"}, {"value", text}}},
          {"range", ToJson(document.RangeOf(token.first, token.end, session.encoding))}};
}

}  // namespace tsy::lsp
