#pragma once
// The texts that editors show through the language server: what each MML
// command does and which values it takes, the words of a note's hover, the
// names of note values and of the outline's entries. Unlike the program's
// own texts, each comes in English and in Japanese; the editor's language
// picks one. UTF-8; hover texts are Markdown.

#include <span>
#include <string_view>

namespace tsy {

enum class EditorLanguage { kEnglish, kJapanese };

struct EditorText {
  const char* english;
  const char* japanese;

  const char* In(EditorLanguage language) const { return language == EditorLanguage::kJapanese ? japanese : english; }
};

// One command of a track block: its name as written (after the '@' for the
// '@' commands), the values it takes ("" when it takes none) and what it does.
struct CommandHelp {
  std::string_view name;
  const char* values;
  EditorText does;
};

// The '@' commands, in the order the compiler matches their names (a name
// stands before every shorter name that is its prefix), without the tone
// command, which is an '@' followed by digits.
std::span<const CommandHelp> AtCommandHelp();
// The tone command: '@' and a tone map index, or a program and bank values.
const CommandHelp& ToneCommandHelp();
// The commands of one letter or sign other than notes and rests: t, v, u, o,
// q, <, >, (, ), {, }, ', *, /, &, ~, _, w.
std::span<const CommandHelp> LetterCommandHelp();

// The titles of a hover over a note, a rest or a length, with what is
// written (`c4`); a compiled note adds its name and number (o3c, 48).
constexpr EditorText kNoteTitleFormat = {"**note** `%s`", "**音符** `%s`"};
constexpr EditorText kChordNoteTitleFormat = {"**chord note** `%s`", "**和音の音** `%s`"};
constexpr EditorText kRestTitleFormat = {"**rest** `%s`", "**休符** `%s`"};
constexpr EditorText kDefaultLengthTitleFormat = {"**default length** `%s`", "**デフォルト音長** `%s`"};
constexpr EditorText kPitchFormat = {" — %s (note number %d)", " — %s（ノート番号 %d）"};
// Under a chord note's length: it sounds as long as the chord's first note.
constexpr EditorText kChordLengthText = {"(the chord's length)", "（和音の長さ）"};
// The length line: ticks, then the length as MML writes it, then its name if it has one.
constexpr EditorText kTicksFormat = {"%lld ticks = `%s`", "%lld ティック = `%s`"};
// Shown instead of the length for a note that no track compiled (it stands
// after a fault, or in a block no track selects).
constexpr EditorText kNotCompiledText = {"not compiled: no track reached it",
                                         "未コンパイル：どのトラックもここまで到達していません"};
// The line under a command's description, with the values it takes.
constexpr EditorText kValuesFormat = {"Values: %s", "値：%s"};
// A substitution letter and the body it stands for.
constexpr EditorText kSubstitutionHoverFormat = {"**substitution letter** `%c` → `%s`", "**一文字置換** `%c` → `%s`"};

// Names of the plain note values, for denominators 1, 2, 4, … 64.
constexpr EditorText kNoteValueNames[] = {
    {"whole note", "全音符"},  {"half note", "2分音符"},  {"quarter note", "4分音符"}, {"eighth note", "8分音符"},
    {"16th note", "16分音符"}, {"32nd note", "32分音符"}, {"64th note", "64分音符"},
};
// A dotted note value, with the plain value's name.
constexpr EditorText kDottedFormat = {"dotted %s", "付点%s"};

// The outline's entries: a track block with its track list as written, a
// block without one, and a substitution registration with its letter.
constexpr EditorText kTrackBlockFormat = {"track %s", "トラック %s"};
constexpr EditorText kUnnumberedBlockText = {"block without a track list", "トラック指定のないブロック"};
constexpr EditorText kRegistrationFormat = {"substitution $%s", "一文字置換 $%s"};

// Told when the music cannot be played from the editor.
constexpr EditorText kNothingToPlayText = {"Nothing to play: no track compiled", "演奏するデータがありません"};
constexpr EditorText kStandbyText = {"No MIDI output could be opened; nothing is played",
                                     "MIDI 出力を開けないため演奏しません"};

}  // namespace tsy
