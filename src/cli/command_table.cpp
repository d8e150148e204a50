// The tsy commands with everything tsy says about them. The help texts are
// also what the manual page and the shell completion are written from: an
// option added to a command is one row of its option list here, plus its use.
#include <algorithm>
#include <iterator>

#include "cli/commands.h"

namespace tsy::cli {
namespace {

constexpr const char* kCompileHelp =
    "Compiles SRC into an object image (default: SRC with the extension .emd) and\n"
    "prints the compile result: any diagnostics and the length of every track in\n"
    "bars.ticks. Diagnostics also go to stderr as FILE:LINE:COLUMN: text.\n"
    "With --json the result is one JSON document instead: the file, the image\n"
    "length, every track the image holds (track, ticks, position as bars.ticks)\n"
    "and every diagnostic (file, line, column, track, code, message).\n"
    "Sources may be Shift-JIS (CP932) or UTF-8.\n"
    "With several sources, each is compiled in turn (-o then names the folder for\n"
    "the images) and a line per source names its image instead of the result.\n"
    "Exit (the highest of all sources): 0 compiled; 1 a diagnostic was raised\n"
    "(the tracks before it are still written); 2 the source cannot be read or the\n"
    "image cannot be written.\n";
constexpr OptionRule kCompileOptions[] = {
    {"-o", "OUT.emd", "write the image to OUT.emd"},
    {"--json", nullptr, "print the result as one JSON document"},
};

constexpr const char* kDumpHelp =
    "Lists an object image (.emd) or a source (.mus, compiled first): the header\n"
    "fields, then every track's events one per line with the tick at which each\n"
    "is reached in the written stream (chords and repeats are not expanded).\n"
    "With --json the listing is one JSON document: the header, then every\n"
    "track's events with tick, offset, bytes, name and operand values, and the\n"
    "source line and column of each when the source is known: FILE itself, or\n"
    "for an image the .mus beside it when that compiles to exactly the image.\n"
    "With several files, each listing follows a line \"==> FILE <==\".\n"
    "Exit (the highest of all files): 0 listed; 1 the source raised a diagnostic\n"
    "(the tracks before it are listed); 2 the file cannot be read or is not an\n"
    "object image.\n";

constexpr OptionRule kDumpOptions[] = {
    {"--json", nullptr, "print the listing as one JSON document"},
};

constexpr const char* kSmfHelp =
    "Renders a source (.mus, compiled first) or an object image (.emd) through the\n"
    "engine into a Standard MIDI File of format 0 (default: SRC with the extension\n"
    ".mid) and prints where the music ends, as bars.ticks (192 ticks to a bar).\n"
    "--format 1 writes a file of format 1 instead: a tempo map track, then one\n"
    "track per track of the music, named after its first @com or \"Track NN\".\n"
    "With several sources, each is exported in turn (-o then names the folder)\n"
    "with a line \"SRC: bars.ticks\" per source.\n"
    "Music that could play longer than the limit (a piece that loops for ever\n"
    "plays twice its length, then fades out) is refused before anything is\n"
    "written; the limit is 24 hours unless --max-length sets it.\n"
    "With --from, the file starts at POS: after the initialisation, the settings\n"
    "a listener has at POS (programs, controllers, bend, tempo) at time 0, then\n"
    "the music from POS on, as tsy play --from POS sends it.\n"
    "Exit (the highest of all sources): 0 written; 1 the source raised a diagnostic\n"
    "(the tracks before it are exported); 2 a file cannot be read or written, is no playable image, or the\n"
    "music could play longer than the limit; 3 there is nothing to export.\n";
constexpr OptionRule kSmfOptions[] = {
    {"-o", "OUT.mid", "write the MIDI file to OUT.mid"},
    {"--max-length", "DURATION", "refuse music that could play longer (90, 90s, 45m, 2h; default 24h)"},
    {"--format", "0|1", "write a format-0 file (one track, the default) or format 1 (a track per track)"},
    {"--from", "POS", "export from POS (bars.ticks) on, after the state chased there", true},
};

constexpr const char* kPlayHelp =
    "Plays a source (.mus, compiled first) or an object image (.emd) from the\n"
    "start through a MIDI output: NAME as tsy devices lists it, by default the\n"
    "MidiDevice setting of tsy32.ini (\"MIDI Mapper\" when there is none). A\n"
    "status line shows the position as the main window does (bar.tick, 192\n"
    "ticks to a bar), the tempo and the number of tracks still playing.\n"
    "Play ends when every track has ended; with --seconds, after N seconds the\n"
    "piece fades out as the desktop program's fade does (about 13 s at tempo\n"
    "120) and play stops; Ctrl-C or SIGTERM halts at once (all notes off, the\n"
    "device reset) and exits 0.\n"
    "\"Tessaly32\" is the port of our own, \"Tessaly32:out\" on the ALSA sequencer\n"
    "and JACK, for synthesisers and DAWs to connect to; --connect NAME (or the\n"
    "MidiConnect setting) connects it to port NAME, and plays through it when no\n"
    "--device is given. --clock (or MidiClock=1) sends MIDI clock with the\n"
    "music: Start, 24 clocks a quarter note, Stop at the end or a halt.\n"
    "When no output opens, play waits in standby: nothing sounds, and the\n"
    "command ends at once. \"Direct Music\" sounds through FluidSynth's audio\n"
    "driver; TSY_AUDIO_DRIVER=NAME tries that FluidSynth driver first (e.g.\n"
    "jack, pulseaudio, or file, which records to fluidsynth.wav as it plays).\n"
    "POS is a position as the status line shows it, BARS.TICKS from 0.000\n"
    "(--from 2 is 2.000, tick 384). Play from a later position first sends the\n"
    "state the music has there; notes begun before it are not sounded.\n"
    "--from-line N starts where the first track reaches music written on line N\n"
    "or later. --to POS ends play there; --loop plays from the start to --to (or\n"
    "to the end) again and again. --watch compiles the source again whenever it\n"
    "is saved: clean music takes over at the next bar line where play is, a\n"
    "diagnostic is printed as FILE:LINE:COLUMN: text and the music plays on.\n"
    "--positions FILE (- for standard output) writes one JSON object a line as\n"
    "play moves: {\"tick\":N,\"position\":\"B.TTT\",\"tempo\":T,\"tracks\":[{\"track\":K,\n"
    "\"line\":L,\"column\":C,\"notes\":[...]},...]}, where each track is in the source.\n"
    "Exit: 0 played (or standby); 2 the input cannot be used or the arguments are wrong.\n";
constexpr OptionRule kPlayOptions[] = {
    {"--device", "NAME", "play through the output NAME (see tsy devices)"},
    {"--seconds", "N", "fade out after N seconds, then stop"},
    {"--connect", "NAME", "connect the port of our own (Tessaly32:out) to port NAME and play through it"},
    {"--clock", nullptr, "send MIDI clock (Start, timing clock, Stop) with the music"},
    {"--from", "POS", "start at POS (bars.ticks, 192 ticks a bar)", true},
    {"--from-line", "N", "start where a track first plays music of line N or later", true},
    {"--to", "POS", "end (or with --loop, turn) at POS", true},
    {"--loop", nullptr, "play the passage again and again", true},
    {"--watch", nullptr, "take over a saved source at the next bar line", true},
    {"--positions", "FILE", "write each track's source position as JSON lines (- for stdout)", true},
};

constexpr const char* kRenderHelp =
    "Renders a source (.mus, compiled first) or an object image (.emd) as its\n"
    "Standard MIDI File export sounds through the built-in synthesiser, faster\n"
    "than real time and without an audio device, into a 16-bit stereo sound file\n"
    "(default: SRC with .wav), with a progress bar on stderr. The output's\n"
    "extension names the format: .wav, .rf64, .w64, .flac, .ogg (Vorbis) or .opus;\n"
    "--format names it whatever the extension. The rate is 44100 Hz (Opus: 48000)\n"
    "unless --rate sets 22050, 44100, 48000 or 96000. SF2 is the General MIDI\n"
    "SoundFont, by default /usr/share/sounds/sf2/default-GM.sf2.\n"
    "Prints the file and the length of its sound (minutes:seconds). Music that\n"
    "could play longer than 24 hours is refused before anything is written, and so\n"
    "is a WAV file past the 4 GiB its header can describe (rf64 and w64 have no\n"
    "such limit). A pipe (-o /dev/stdout) gets a WAV header with its sizes and the\n"
    "sound's whole release.\n"
    "--stems DIR writes DIR/NN-name.ext for every track with notes instead of the\n"
    "mix: only that track's notes with all the piece's other messages, every file\n"
    "of the same length; name is the track's first @com, else \"track NN\".\n"
    "With several sources, each is rendered in turn (-o then names the folder;\n"
    "stems go to DIR/SRC-name/) with a line per source.\n"
    "Exit (the highest of all sources): 0 written; 2 the input, the SoundFont or\n"
    "the output cannot be used.\n";
constexpr OptionRule kRenderOptions[] = {
    {"-o", "OUT", "write the sound to OUT (its extension names the format)"},
    {"--format", "NAME", "write NAME: wav, rf64, w64, flac, ogg or opus"},
    {"--rate", "HZ", "render at HZ frames per second: 22050, 44100, 48000 or 96000"},
    {"--gain", "DB", "make the sound DB decibels louder or softer (-40 to +40)"},
    {"--stems", "DIR", "write one file per track with notes into DIR"},
    {"--soundfont", "SF2", "render with the General MIDI SoundFont SF2"},
};

constexpr const char* kDevicesHelp =
    "Lists the MIDI outputs, one a line, as the Options sheet offers them:\n"
    "\"MIDI Mapper\" (the system's default output), \"Direct Music\" (the built-in\n"
    "synthesiser), then, when the ALSA sequencer or a JACK server is there,\n"
    "\"Tessaly32\" (the port of our own) and every ALSA and JACK MIDI port that\n"
    "takes MIDI. Any of these names can be given to tsy play --device.\n"
    "With -v each name is followed by a tab and what it is: the port's system,\n"
    "the port the MIDI Mapper would play through, and the audio driver through\n"
    "which the built-in synthesiser would sound.\n";
constexpr OptionRule kDevicesOptions[] = {
    {"-v", nullptr, "say what each output is, and the built-in synthesiser's audio driver"},
};

constexpr const char* kLspHelp =
    "Serves editors as a language server (JSON-RPC 2.0 on stdin and stdout, LSP\n"
    "3.17): diagnostics of the buffer as it is typed, hover over notes, lengths\n"
    "and commands, the outline of track blocks and substitutions, go to the\n"
    "registration of a substitution letter, completion of '@' commands, and the\n"
    "commands tessaly32.playFromCursor (plays the buffer through the MidiDevice\n"
    "setting's output) and tessaly32.stop. Editors start it themselves; see the\n"
    "editors folder of the sources for Neovim, Emacs and VS Code.\n"
    "Exit: 0 after the editor's shutdown and exit; 1 when the editor left\n"
    "without them.\n";

constexpr const char* kHelpHelp =
    "Lists the commands, or shows the help of COMMAND (as tsy COMMAND --help does).\n"
    "Exit: 0 shown; 2 there is no command of that name.\n";

// The order in which tsy help lists them.
constexpr Command kCommands[] = {
    {"compile",
     RunCompile,
     "compile a source into an object image",
     kCompileHelp,
     {"SRC.mus", 1, PositionalRule::kAnyCount},
     kCompileOptions},
    {"dump",
     RunDump,
     "list an image's header and events (.emd or .mus)",
     kDumpHelp,
     {"FILE", 1, PositionalRule::kAnyCount},
     kDumpOptions},
    {"smf",
     RunSmf,
     "export a Standard MIDI File (format 0 or 1)",
     kSmfHelp,
     {"SRC", 1, PositionalRule::kAnyCount},
     kSmfOptions},
    {"play", RunPlay, "play through a MIDI output", kPlayHelp, {"SRC", 1, 1}, kPlayOptions},
    {"render",
     RunRender,
     "render through the built-in synthesiser",
     kRenderHelp,
     {"SRC", 1, PositionalRule::kAnyCount},
     kRenderOptions},
    {"devices", RunDevices, "list the MIDI outputs", kDevicesHelp, {}, kDevicesOptions},
    {"lsp", RunLsp, "serve editors as a language server on stdin/stdout", kLspHelp, {}, {}},
    {"help", RunHelp, "this list, or the help of one command", kHelpHelp, {"COMMAND", 0, 1}, {}},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(std::string_view name) {
  auto it = std::find_if(std::begin(kCommands), std::end(kCommands), [&](const Command& c) { return name == c.name; });
  return it == std::end(kCommands) ? nullptr : &*it;
}

}  // namespace tsy::cli
