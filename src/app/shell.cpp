#include "app/shell.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "app/command_table.h"
#include "app/file_names.h"
#include "app/object_file.h"
#include "app/shell_host.h"
#include "core/engine/engine_state.h"
#include "core/engine/track_mutes.h"
#include "core/settings/settings.h"
#include "platform/virtual_keys.h"
#include "resources/string_table.h"
#include "resources/version.h"
#include "resources/window_texts.h"

namespace tsy {
namespace {

constexpr const char* kInitObject = "init.emd";  // loaded and played at start, from the current folder

constexpr uint32_t kSmallestExportable = 405;  // a header and at least one track
constexpr int kMinTempo = 12;                  // quarter notes per minute
constexpr int kMaxTempo = 992;
constexpr uint8_t kMaxVelocity = 127;

const FileFilter kMusFilters[] = {{kMusFilter, kMusPattern}, {kAllFilesFilter, kAllFilesPattern}};
const FileFilter kEmdFilters[] = {{kEmdFilter, kEmdPattern}, {kAllFilesFilter, kAllFilesPattern}};
const FileFilter kSmfFilters[] = {{kSmfFilter, kSmfPattern}};
const FileFilter kEmdSaveFilters[] = {{kEmdFilter, kEmdPattern}};

template <size_t N>
FileDialogRequest DialogRequest(bool save, const FileFilter (&filters)[N], const std::string& folder,
                                const std::string& nameFrom) {
  FileDialogRequest request;
  request.save = save;
  request.title = save ? kSaveDialogTitle : kOpenDialogTitle;
  request.filters.assign(std::begin(filters), std::end(filters));
  request.initialFolder = folder;
  request.initialName = std::string(WithoutExtension(FilePart(nameFrom)));
  return request;
}

const char* ToChars(const char* text) { return text; }
const char* ToChars(const std::string& text) { return text.c_str(); }

// `format` filled with the texts `values` (each for a "%s").
template <typename... Texts>
std::string Format(const char* format, const Texts&... values) {
  std::vector<char> text(std::snprintf(nullptr, 0, format, ToChars(values)...) + 1);
  std::snprintf(text.data(), text.size(), format, ToChars(values)...);
  return text.data();
}

}  // namespace

Shell::Shell(ShellHost& host, CoreCalls core, Settings& settings)
    : host_(host), core_(std::move(core)), settings_(settings) {
  state_.currentFile = settings_.loadInFile;
  state_.objectBuffer.assign(kObjectBufferSize, 0);
}

void Shell::Start() {
  state_.modeEq = settings_.modeEq == 1 ? 1 : 0;
  state_.dispMode = 0;
  state_.trackScroll = 0;
  state_.cursorRow = 0;
  // The chain runs through the queue, so the window shows while the output
  // opens and "init.emd" loads. A file given to the program comes last, so it
  // wins over "init.emd".
  host_.Post([this] {
    ReadVersionTexts();
    host_.Post([this] {
      core_.applyDeviceChoice();
      host_.Post([this] {
        host_.StartDisplayRefresh();
        host_.Post([this] {
          LoadInitObject();
          host_.Post([this] {
            UpdateCaption();
            OpenFileAtStart();
          });
        });
      });
    });
  });
}

void Shell::ReadVersionTexts() {
  state_.versionText = FileVersion();
  state_.legalText = LegalCopyright();
}

void Shell::LoadInitObject() {
  if (!ReadObjectFile(kInitObject, state_.objectBuffer.data()).ok()) return;
  core_.loadImage(state_.objectBuffer.data());
  core_.playFromStart();
}

void Shell::OpenFileAtStart() {
  if (fileAtStart_.empty()) return;
  if (IsObjectFile(fileAtStart_)) PlayObjectFile(fileAtStart_);
  else UseSource(fileAtStart_);
}

void Shell::UpdateCaption() { host_.SetCaption(Format(kMainCaptionFormat, kProgramCaption, state_.currentFile)); }

// --- events ----------------------------------------------------------------

void Shell::KeyDown(int key) {
  if (key == vk::kShift) state_.shiftDown = true;
  if (key == vk::kControl) state_.ctrlDown = true;
  RunCommand(key);
}

void Shell::KeyUp(int key) {
  if (key == vk::kShift) state_.shiftDown = false;
  if (key == vk::kControl) state_.ctrlDown = false;
}

void Shell::Activated(bool shiftPressed, bool ctrlPressed) {
  state_.shiftDown = shiftPressed;
  state_.ctrlDown = ctrlPressed;
}

void Shell::MenuChosen(int id) {
  if (id >= kMenuFirstTrack && id < kMenuFirstTrack + kTrackCount) {
    state_.cursorRow = id - kMenuFirstTrack - state_.trackScroll;
    MoveCursor(0);
    host_.Repaint();
    return;
  }
  if (id == kMenuExit) {
    host_.RequestClose();
    return;
  }
  if (id == kMenuPlayFromBar) {
    PlayFromBar();
    return;
  }
  if (int key = KeyOfMenuItem(id)) PostKey(key);
}

void Shell::MiddleButtonDown() { PostKey(vk::kReturn); }

void Shell::LeftDoubleClick() { PostKey(vk::kHome); }

void Shell::Wheel(int delta) {
  if (delta < 0) PostKey(vk::kDown);
  if (delta > 0) PostKey(vk::kUp);
}

bool Shell::CloseRequested() { return !settings_.exitCheck || host_.AskYesNo(kExitQuestion, /*noIsDefault=*/true); }

void Shell::KeepWindowPosition(int left, int top) {
  state_.windowLeft = left;
  state_.windowTop = top;
}

void Shell::Destroyed() {
  core_.closeOutput();
  settings_.loadInFile = state_.currentFile;
  settings_.windowLeft = state_.windowLeft;
  settings_.windowTop = state_.windowTop;
}

void Shell::PostKey(int key) {
  host_.Post([this, key] { KeyDown(key); });
}

void Shell::RunCommand(int key) {
  // ORDER COMMAND
  static constexpr CommandFunction kDispatch[] = {
      nullptr,
      &Shell::Play,
      &Shell::HaltPlay,
      &Shell::FadeOut,
      &Shell::Replay,
      &Shell::DispModeDown,
      &Shell::DispModeUp,
      &Shell::Compile,
      &Shell::ToneWindow,
      &Shell::ExportSmf0,
      &Shell::LoadMus,
      &Shell::LoadObject,
      &Shell::WriteObject,
      &Shell::About,
      &Shell::Options,
      &Shell::Editor,
      &Shell::TrackLevel,
      &Shell::TrackUp,
      &Shell::TrackDown,
      &Shell::VolumeDown,
      &Shell::VolumeUp,
      &Shell::XorTrackMask,
      &Shell::Solo,
      &Shell::Unmask,
      &Shell::TempoUp,
      &Shell::TempoDown,
      &Shell::DefaultTempo,
  };
  static_assert(std::size(kDispatch) == size_t(Command::kCount), "one function per command");
  if (CommandFunction run = kDispatch[size_t(CommandForKey(key))]) (this->*run)();
}

// --- play --------------------------------------------------------------------

void Shell::Play() { core_.playFromStart(); }
void Shell::HaltPlay() { core_.halt(); }
void Shell::FadeOut() { core_.fadeOut(); }
void Shell::Replay() { core_.resume(); }

// --- view --------------------------------------------------------------------

void Shell::DispModeDown() {
  state_.dispMode = (state_.dispMode + 3) % 4;
  host_.Repaint();
}

void Shell::DispModeUp() {
  state_.dispMode = (state_.dispMode + 1) % 4;
  host_.Repaint();
}

void Shell::TrackLevel() {
  if (state_.ctrlDown) host_.RaiseOwnedWindow();
  else state_.modeEq = !state_.modeEq;
  host_.Repaint();
}

void Shell::ToneWindow() { host_.OpenToneWindow(); }

int Shell::ModifierStep(int plain, int withShift, int withCtrl) const {
  if (state_.ctrlDown) return withCtrl;
  if (state_.shiftDown) return withShift;
  return plain;
}

void Shell::TrackUp() {
  MoveCursor(-ModifierStep(1, 8, 16));
  host_.Repaint();
}

void Shell::TrackDown() {
  MoveCursor(ModifierStep(1, 8, 16));
  host_.Repaint();
}

// Moves the highlighted row by `rows`, scrolling the list when the row
// leaves it; the list never scrolls beyond its first or last track.
void Shell::MoveCursor(int rows) {
  state_.cursorRow += rows;
  if (state_.cursorRow < 0) {
    state_.trackScroll = std::max(state_.trackScroll + state_.cursorRow, 0);
    state_.cursorRow = 0;
  }
  if (state_.cursorRow > kTrackRows - 1) {
    state_.trackScroll = std::min(state_.trackScroll + state_.cursorRow - (kTrackRows - 1), kMaxTrackScroll);
    state_.cursorRow = kTrackRows - 1;
  }
}

// --- the selected track --------------------------------------------------------

void Shell::VolumeDown() { ChangeVelocity(-1); }
void Shell::VolumeUp() { ChangeVelocity(+1); }

void Shell::ChangeVelocity(int step) {
  if (state_.dispMode == 0) {
    Relaxed<uint8_t>& velocity = core_.engine->velocity[state_.selectedTrack()];
    velocity = static_cast<uint8_t>(std::clamp(int(velocity) + step, 0, int(kMaxVelocity)));
  }
  host_.Repaint();
}

void Shell::XorTrackMask() {
  ToggleTrackMutes(*core_.engine, TrackSet().set(state_.selectedTrack()));
  host_.Repaint();
}

void Shell::Solo() {
  SoloTracks(*core_.engine, TrackSet().set(state_.selectedTrack()), /*unmuteTracks=*/true);
  host_.Repaint();
}

void Shell::Unmask() {
  UnmuteAllTracks(*core_.engine);
  host_.Repaint();
}

// --- tempo -------------------------------------------------------------------

void Shell::TempoUp() { ChangeTempo(+1, kMaxTempo); }
void Shell::TempoDown() { ChangeTempo(-1, kMinTempo); }

// Shift jumps to `limit`; otherwise the tempo moves by 3 (by 1 with Ctrl)
// towards it and stops there.
void Shell::ChangeTempo(int direction, int limit) {
  if (core_.engine->imageAccepted) {
    int tempo = core_.engine->tempo;
    if (state_.shiftDown) tempo = limit;
    else if (direction > 0) tempo = std::min(tempo + (state_.ctrlDown ? 1 : 3), limit);
    else tempo = std::max(tempo - (state_.ctrlDown ? 1 : 3), limit);
    core_.engine->tempo = static_cast<int16_t>(tempo);
  }
  host_.Repaint();
}

void Shell::DefaultTempo() {
  if (core_.engine->imageAccepted) core_.engine->tempo = core_.engine->songTempo.load();
  host_.Repaint();
}

// --- files -------------------------------------------------------------------

void Shell::RememberFolder(int folder, const std::string& chosen) {
  if (settings_.folders[folder].lastDir) settings_.folders[folder].directory = std::string(FolderOf(chosen));
}

void Shell::Compile() {
  if (HasExtension(state_.currentFile, "emd")) return;
  if (!host_.AskYesNo(Format(LoadText(TextId::kCompileQuestion), state_.currentFile),
                      /*noIsDefault=*/false))
    return;
  state_.compiledSize = core_.compile(state_.currentFile, state_.objectBuffer.data());
  if (state_.compiledSize > 0) {
    core_.loadImage(state_.objectBuffer.data());
    state_.lastCompiledFile = state_.currentFile;
  }
}

void Shell::LoadMus() {
  FileDialogResult chosen = host_.RunFileDialog(
      DialogRequest(false, kMusFilters, settings_.folders[kMusFolder].directory, state_.currentFile));
  if (chosen.result < 1) return;
  UseSource(chosen.path);
}

// `path` becomes the current source and, with AutoCompile, is compiled after
// the usual question.
void Shell::UseSource(const std::string& path) {
  state_.currentFile = path;
  host_.Post([this] { UpdateCaption(); });
  RememberFolder(kMusFolder, path);
  if (settings_.autoCompile) PostKey(vk::Digit(7));
}

void Shell::LoadObject() {
  FileDialogResult chosen = host_.RunFileDialog(
      DialogRequest(false, kEmdFilters, settings_.folders[kEmdFolder].directory, state_.currentFile));
  if (chosen.result < 1) return;
  PlayObjectFile(chosen.path);
}

// Loads the image in `path` and plays it from the start; the compile is
// forgotten, also when the file is too large to load. A file that cannot be
// opened changes nothing.
void Shell::PlayObjectFile(const std::string& path) {
  const FileResult read = ReadObjectFile(path, state_.objectBuffer.data());
  if (read.status == FileStatus::kCannotOpen) return;
  if (read.ok()) {
    core_.loadImage(state_.objectBuffer.data());
    core_.playFromStart();
    RememberFolder(kEmdFolder, path);
  }
  state_.compiledSize = 0;
}

void Shell::ExportSmf0() {
  if (state_.compiledSize < kSmallestExportable) {
    host_.ShowMessage(kProgramCaption, kNothingToSave, MessageIcon::kInformation);
    return;
  }
  FileDialogResult chosen = host_.RunFileDialog(
      DialogRequest(true, kSmfFilters, settings_.folders[kSmfFolder].directory, state_.lastCompiledFile));
  if (chosen.result < 1) return;
  core_.exportSmf(chosen.path);
  RememberFolder(kSmfFolder, chosen.path);
}

// Saves the object buffer's image, as long as its header says, to an .emd
// file. A buffer without an image (nothing compiled or loaded yet) has
// nothing to save.
void Shell::WriteObject() {
  uint32_t length = ImageLengthOf(state_.objectBuffer.data());
  if (length == 0) {
    host_.ShowMessage(kProgramCaption, kNothingToSave, MessageIcon::kInformation);
    return;
  }
  FileDialogResult chosen = host_.RunFileDialog(
      DialogRequest(true, kEmdSaveFilters, settings_.folders[kEmdFolder].directory, state_.currentFile));
  if (chosen.result < 1) return;
  const FileResult written = WriteObjectFile(chosen.path, state_.objectBuffer.data(), length);
  if (!written.ok())
    host_.ShowMessage(chosen.path, std::string(kCannotWriteText) + "\n" + written.Reason(), MessageIcon::kError);
}

void Shell::Editor() {
  if (!HasExtension(state_.currentFile, "mus")) return;
  if (!host_.OpenWithAssociation(state_.currentFile)) host_.StartTextEditor(state_.currentFile);
}

// --- boxes -------------------------------------------------------------------

void Shell::About() {
  if (state_.shiftDown && state_.ctrlDown) {
    // The debug box: two fixed figures, in KB.
    char text[64];
    std::snprintf(text, sizeof text, "System:\t%ld KB\nCore:\t%ld KB\n", 69L, 12L);
    host_.ShowMessage("debug", text, MessageIcon::kNone);
    return;
  }
  host_.ShowAbout(state_.versionText);
}

void Shell::Options() {
  if (host_.RunOptionsSheet()) core_.applyDeviceChoice();
}

}  // namespace tsy
