#include "core/settings/settings.h"

#include <cstdlib>
#include <filesystem>

#include "platform/install_folders.h"
#include "platform/profile.h"

namespace tsy {
namespace {

constexpr char kFileName[] = "tsy32.ini";
constexpr int32_t kDefaultRate = 24;  // refreshes per second

// Every key of the file, in the order it is read and written:
// KEY(section, key, field of the record, how it is held, default, width of a text field in bytes).
// `startDirectory` is the folder the program started in. WindowSave comes
// before the positions, whose reading it decides.
// clang-format off
#define TSY_SETTINGS_KEYS(KEY)                                                                               \
  KEY("System", "LoadInFile",     loadInFile,                    Text,     "NewFile.MUS",  kLoadInFileBytes) \
  KEY("System", "DispRate",       refreshPeriod,                 Rate,     kDefaultRate,   0)                \
  KEY("System", "ModeEQ",         modeEq,                        Number,   1,              0)                \
  KEY("System", "AutoCompile",    autoCompile,                   Number,   1,              0)                \
  KEY("System", "ExitCheck",      exitCheck,                     Number,   1,              0)                \
  KEY("System", "Priority",       priority,                      Shown,    0,              0)                \
  KEY("System", "MidiDevice",     midiDevice,                    Text,     "MIDI Mapper",  kMidiDeviceBytes) \
  KEY("System", "MidiConnect",    midiConnect,                   UserText, "",             kPortNameBytes)   \
  KEY("System", "MidiClock",      midiClock,                     UserInt,  0,              0)                \
  KEY("System", "LiveReload",     liveReload,                    Optional, 0,              0)                \
  KEY("Tone",   "Tone1",          tone1,                         Text,     "GMSET.EQN",    kToneFileBytes)   \
  KEY("Tone",   "Tone2",          tone2,                         Text,     "GMSET.EQD",    kToneFileBytes)   \
  KEY("Tone",   "AutoJump",       toneAutoJump,                  Number,   0,              0)                \
  KEY("Tone",   "ExitCheck",      toneExitCheck,                 Number,   0,              0)                \
  KEY("Window", "WindowSave",     windowSave,                    Number,   1,              0)                \
  KEY("Window", "WindowLeft",     windowLeft,                    Position, kPositionUnset, 0)                \
  KEY("Window", "WindowTop",      windowTop,                     Position, kPositionUnset, 0)                \
  KEY("Window", "ToneWindowLeft", toneWindowLeft,                Position, kPositionUnset, 0)                \
  KEY("Window", "ToneWindowTop",  toneWindowTop,                 Position, kPositionUnset, 0)                \
  KEY("Dir",    "MusDirectory",   folders[kMusFolder].directory, Text,     startDirectory, kDirectoryBytes)  \
  KEY("Dir",    "EmdDirectory",   folders[kEmdFolder].directory, Text,     startDirectory, kDirectoryBytes)  \
  KEY("Dir",    "SmfDirectory",   folders[kSmfFolder].directory, Text,     startDirectory, kDirectoryBytes)  \
  KEY("Dir",    "MusLastDir",     folders[kMusFolder].lastDir,   Number,   0,              0)                \
  KEY("Dir",    "EmdLastDir",     folders[kEmdFolder].lastDir,   Number,   0,              0)                \
  KEY("Dir",    "SmfLastDir",     folders[kSmfFolder].lastDir,   Number,   0,              0)
// clang-format on

struct Key {
  const char* section;
  const char* name;
};

// How a value is held in the record, and so how it is read and written.
struct Text {};               // a text, cut to the width of its field
struct Number {};             // an integer of its field's width: a byte keeps the low 8 bits ("256" gives 0)
struct Rate {};               // DispRate: the file holds refreshes per second, the record the period in ms
struct Position : Number {};  // a window position: read only when WindowSave is on
struct Shown : Number {};     // a byte the Options sheet shows: read, never written
// Settings the user writes into the file and nothing changes: read, never
// written, so a file without them stays as it was.
struct UserText : Text {};
struct UserInt : Number {};
// A switch beyond the described keys: written once it is on or the file
// holds it, so that a file of the described keys is written as described.
struct Optional : Number {};

// `text` cut to what a field of `width` bytes holds (width - 1 bytes and the
// zero), never in the middle of a UTF-8 character.
std::string FitField(std::string text, size_t width) {
  if (text.size() < width) return text;
  size_t end = width - 1;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

// Reading one key into its field; `windowSave` is the WindowSave read so far.
void ReadKey(const Profile& profile, Key key, Text, std::string& field, std::string_view fallback, size_t width,
             uint8_t) {
  field = FitField(profile.ReadString(key.section, key.name, fallback), width);
}
template <typename Field>
void ReadKey(const Profile& profile, Key key, Number, Field& field, int32_t fallback, size_t, uint8_t) {
  field = static_cast<Field>(profile.ReadInt(key.section, key.name, fallback));
}
void ReadKey(const Profile& profile, Key key, Rate, int32_t& field, int32_t fallback, size_t, uint8_t) {
  field = RefreshPeriodFromRate(profile.ReadInt(key.section, key.name, fallback));
}
void ReadKey(const Profile& profile, Key key, Position, int32_t& field, int32_t fallback, size_t, uint8_t windowSave) {
  field = windowSave != 0 ? profile.ReadInt(key.section, key.name, fallback) : kPositionUnset;
}

// Writing one key's field, integers as decimal text.
void WriteKey(Profile& profile, Key key, Text, const std::string& field) {
  profile.WriteString(key.section, key.name, field);
}
template <typename Field>
void WriteKey(Profile& profile, Key key, Number, Field field) {
  profile.WriteString(key.section, key.name, std::to_string(field));
}
void WriteKey(Profile& profile, Key key, Rate, int32_t field) {
  WriteKey(profile, key, Number{}, RateFromRefreshPeriod(field));
}
void WriteKey(Profile&, Key, Shown, uint8_t) {}
void WriteKey(Profile&, Key, UserText, const std::string&) {}
void WriteKey(Profile&, Key, UserInt, uint8_t) {}
void WriteKey(Profile& profile, Key key, Optional, uint8_t field) {
  constexpr std::string_view kAbsent = "\x01";  // no value a file can hold
  if (field != 0 || profile.ReadString(key.section, key.name, kAbsent) != kAbsent)
    WriteKey(profile, key, Number{}, field);
}

std::string CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config; empty when
// neither is known.
std::filesystem::path ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return std::filesystem::path(home) / ".config";
  return {};
}

}  // namespace

int32_t RefreshPeriodFromRate(int32_t rate) {
  if (rate < 1) rate = 1;
  const int32_t period = 1000 / rate;
  return period < 1 ? 1 : period;
}

int32_t RateFromRefreshPeriod(int32_t periodMs) {
  // A record never read holds 0; it stands for the shortest period.
  return 1000 / (periodMs < 1 ? 1 : periodMs);
}

FileResult ReadSettings(Settings& settings, const std::string& path) {
  settings = Settings{};
  FileResult read;
  const Profile profile = Profile::Load(path, &read).value_or(Profile());
  const std::string startDirectory = CurrentDirectory();
  // `held` is a type and `field` a member name: neither can stand in parentheses.
  // NOLINTBEGIN(bugprone-macro-parentheses)
#define TSY_READ_KEY(section, key, field, held, fallback, width) \
  ReadKey(profile, {section, key}, held{}, settings.field, fallback, width, settings.windowSave);
  TSY_SETTINGS_KEYS(TSY_READ_KEY)
#undef TSY_READ_KEY
  // NOLINTEND(bugprone-macro-parentheses)
  return read;
}

FileResult WriteSettings(const Settings& settings, const std::string& path, std::string_view versionText) {
  // The file's other sections, keys and comments stay; a file that cannot be
  // read is not replaced.
  FileResult read;
  std::optional<Profile> loaded = Profile::Load(path, &read);
  if (!loaded) return read;
  Profile& profile = *loaded;
  // The version is the program's, not a setting: written first, never read.
  profile.WriteString("System", "Version", versionText.empty() ? "Unknown" : versionText);
  // NOLINTBEGIN(bugprone-macro-parentheses)
#define TSY_WRITE_KEY(section, key, field, held, fallback, width) \
  WriteKey(profile, {section, key}, held{}, settings.field);
  TSY_SETTINGS_KEYS(TSY_WRITE_KEY)
#undef TSY_WRITE_KEY
  // NOLINTEND(bugprone-macro-parentheses)
  return profile.Save(path);
}

std::string SettingsFilePath(const std::string& exeDirectory) {
  const std::filesystem::path beside = std::filesystem::path(exeDirectory) / kFileName;
  // An installed program (its shared folder beside bin) keeps its settings
  // out of bin, even where root may write there.
  std::error_code error;
  const bool installed = std::filesystem::is_directory(SharedDataFolder(exeDirectory), error);
  if (!installed && IsWritableDirectory(exeDirectory.empty() ? "." : exeDirectory)) return beside.string();
  const std::filesystem::path configHome = ConfigHome();
  if (configHome.empty()) return beside.string();
  return (configHome / "tessaly32" / kFileName).string();
}

}  // namespace tsy
