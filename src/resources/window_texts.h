#pragma once
// The fixed texts of the windows and boxes that have no number in the string
// table: captions, questions, the About box and the Tone window with its menu.
// UTF-8; in menu texts "&" marks the access key and "\t" starts the key legend.

namespace tsy {

// The program's caption, also the title of every message box.
constexpr const char* kProgramCaption = "Tessaly32";
constexpr const char* kMainWindowClass = "Tessaly for Win32";
// Main window caption: the program caption and the current source file.
constexpr const char* kMainCaptionFormat = "%s - [%s]";
constexpr const char* kExitQuestion = "終了しますか？";
// Told when there is no image to save or export (also by `tsy smf`).
constexpr const char* kNothingToSave = "保存するデータがありません";
// Told when a file could not be written, with the system's reason on the next line.
constexpr const char* kCannotWriteText = "ファイルを書き込めません";
// ExportSMF0 refuses music that could play longer than the limit: filled with
// the longest it could play ("H:MM:SS"), that in ticks, the tempo, and the limit.
constexpr const char* kSmfTooLongFormat =
    "演奏時間が長すぎるため出力できません\n最長 %s (%lld ティック、テンポ %d)\n上限 %s";
// ExportSMF0 stopped because the file outgrew what one MIDI track can hold.
constexpr const char* kSmfTooLargeText = "SMF のトラックに収まる 4 GiB を超えたため出力できません";

// The MidiDevice setting names a port that is not there (filled with the
// setting); the setting is kept for when the port comes back.
constexpr const char* kPortMissingFormat = "%s not found; playing through the MIDI Mapper";

// Told once on stderr when the system refuses the play thread real-time
// scheduling.
constexpr const char* kRealTimeRefusedText =
    "the play thread runs without real-time scheduling, so its timing suffers when the machine is busy "
    "(allow it with an rtprio limit, e.g. membership of the audio group)";

// File dialogs of the main window: titles, then each filter's text with the
// pattern it stands for.
constexpr const char* kOpenDialogTitle = "ファイル選択";
constexpr const char* kSaveDialogTitle = "ファイル保存";
constexpr const char* kMusFilter = "MUSファイル(*.mus)";
constexpr const char* kMusPattern = "*.mus";
constexpr const char* kEmdFilter = "EMDファイル(*.emd)";
constexpr const char* kEmdPattern = "*.emd";
constexpr const char* kSmfFilter = "SMF0ファイル(*.MID)";
constexpr const char* kSmfPattern = "*.mid";
constexpr const char* kAllFilesFilter = "全てのファイル(*.*)";
constexpr const char* kAllFilesPattern = "*.*";

// Play from a bar: the main pop-up's item beyond the described ones, and the
// question it asks.
constexpr const char* kPlayFromBarItem = "Play from &Bar...";
constexpr const char* kPlayFromBarPrompt = "演奏を始める小節 (0.000 から数えて)";

// About box: its title and the version line, filled with the file version.
constexpr const char* kAboutTitle = "バージョン情報";
constexpr const char* kAboutVersionFormat = "Version %s";

// The Tone window and its pop-up menu.
constexpr const char* kToneWindowClass = "ToneWindow";
constexpr const char* kToneWindowTitle = "ToneWindow";
constexpr const char* kToneCloseQuestion = "ツールを閉じますか？";
constexpr const char* kToneMenuPlay = "&Play\t1 P";
constexpr const char* kToneMenuHaltPlay = "&HaltPlay\t2 H";
constexpr const char* kToneMenuFadeOut = "&FadeOut\t3 F";
constexpr const char* kToneMenuReplay = "&Replay\t4 R";
constexpr const char* kToneMenuChannel = "&Channel";
constexpr const char* kToneMenuChannelFormat = "%d";  // channels 1..16
constexpr const char* kToneMenuTone = "&Tone";
constexpr const char* kToneMenuToneJump = "ToneJump\tTAB";
// One tone list entry: name, program, bank MSB, bank LSB.
constexpr const char* kToneMenuEntryFormat = "%s\t(%d,%d,%d)";
constexpr const char* kToneMenuExit = "E&xit\t0 Alt+F4";

}  // namespace tsy
