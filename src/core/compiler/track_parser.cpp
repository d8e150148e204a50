#include "core/compiler/track_parser.h"

#include "core/compiler/commands.h"
#include "core/compiler/groups.h"
#include "core/compiler/lengths.h"
#include "core/compiler/letter_commands.h"
#include "core/compiler/notes.h"
#include "core/compiler/parse_context.h"
#include "core/compiler/pitch.h"
#include "core/compiler/portamento.h"
#include "core/compiler/structure.h"
#include "core/compiler/track_state.h"

namespace tsy {
namespace {

// '@' name: an unknown name consumes nothing, and the '@' is skipped with the
// one character after it, as sources written for lenient players expect. A
// double-byte character is skipped whole: its second byte may read as an
// upper-case letter, which would expand a substitution body into itself.
void AtCommand(ParseContext& cx) {
  if (!ParseAtCommand(cx) && cx.pos < cx.unit.text.size()) cx.pos += cx.unit.text.CharacterWidth(cx.pos);
}

// remark -> '"' text '"': a quoted text among the music (after a note, say) is skipped.
void Remark(ParseContext& cx) {
  size_t close = cx.unit.text.Find('"', cx.pos);
  if (close == CondensedText::npos) {
    cx.Fault(TextId::kNotUnderstood);
    return;
  }
  cx.pos = close + 1;
}

using Handler = void (*)(ParseContext&, char first);

struct Construct {
  char first;
  Handler handler;
  bool breaksChord;  // may not stand between a chord link and the chord's next note
};

template <void (*Parse)(ParseContext&)>
void Plain(ParseContext& cx, char) {
  Parse(cx);
}

constexpr Construct kConstructs[] = {
    {'a', ParseNote, false},
    {'b', ParseNote, false},
    {'c', ParseNote, false},
    {'d', ParseNote, false},
    {'e', ParseNote, false},
    {'f', ParseNote, false},
    {'g', ParseNote, false},
    {'r', ParseNote, false},
    {'o', Plain<ParseOctave>, false},
    {'<', Plain<ParseOctaveDown>, false},
    {'>', Plain<ParseOctaveUp>, false},
    {'l', Plain<ParseDefaultLength>, false},
    {'q', Plain<ParseGate>, false},
    {'&', Plain<ParseTie>, false},
    {'~', Plain<ParseTie>, false},
    {'_', Plain<ParseTransposition>, false},
    {'t', Plain<ParseTempo>, false},
    {'v', Plain<ParseVelocity>, false},
    {'u', Plain<ParseExpression>, false},
    {'@', Plain<AtCommand>, false},
    {'"', Plain<Remark>, false},
    {'w', Plain<ParsePortamento>, true},
    {'(', Plain<ParseRepeatStart>, true},
    {')', Plain<ParseRepeatEnd>, true},
    {'{', Plain<ParseGroupOpen>, true},
    {'}', Plain<ParseGroupClose>, true},
    {'\'', Plain<ParseBarLine>, true},
    {'*', Plain<ParseRestartStop>, true},
};

const Construct* FindConstruct(char first) {
  for (const Construct& construct : kConstructs)
    if (construct.first == first) return &construct;
  return nullptr;
}

}  // namespace

TrackParser::TrackParser(CompileUnit& unit) : unit_(unit), state_(std::make_unique<TrackState>()) {}

TrackParser::~TrackParser() = default;

void TrackParser::ResetForTrack() { *state_ = TrackState{}; }

size_t TrackParser::ParseCommand(size_t index) {
  unit_.commandAt = index;
  ParseContext cx(unit_, *state_, index);
  char first = cx.Peek();
  const Construct* construct = FindConstruct(first);
  if (!construct || (construct->breaksChord && state_->chordMember)) {
    cx.Fault(TextId::kNotUnderstood);
    return index;
  }
  ++cx.pos;
  construct->handler(cx, first);
  return cx.pos > index ? cx.pos - 1 : index;
}

bool TrackParser::upperCaseLetters() const { return state_->upperCaseLetters; }

bool TrackParser::skipRestOfText() const { return state_->skipRest; }

uint32_t TrackParser::trackTicks() const { return TrackTicks(*state_); }

}  // namespace tsy
