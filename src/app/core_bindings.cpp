#include "app/core_calls.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "app/playing_source.h"
#include "app/shell_host.h"
#include "core/compiler/compile_driver.h"
#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "core/settings/settings.h"
#include "core/smf/export_smf.h"
#include "midiout/device_choice.h"
#include "platform/text_codec.h"
#include "resources/string_table.h"
#include "resources/window_texts.h"

namespace tsy {
namespace {

// The last compile, whose map serves the source band once its image is loaded.
struct LastCompile {
  std::string source;
  std::vector<uint8_t> image;
  SourceMap map;
};
LastCompile lastCompile;

// The image a live reload hands to the play thread; it stays until taken over.
std::vector<uint8_t> takeoverImage(kObjectBufferSize, 0);

void ShowCompileResult(ShellHost& host, const std::string& source, const CompileResult& result) {
  if (!result.opened) host.ShowMessage(source, LoadText(TextId::kCannotOpen), MessageIcon::kNone);
  else host.ShowMessage(LoadText(TextId::kCompileResultCaption), Cp932ToUtf8(result.messageText), MessageIcon::kNone);
}

// Compiles `source` into the object buffer and shows what the compile says:
// the message text, or that the source could not be opened.
uint32_t CompileAndReport(ShellHost& host, const std::string& source, uint8_t* objectBuffer) {
  CompileResult result = CompileFile(source, objectBuffer);
  ShowCompileResult(host, source, result);
  lastCompile = {source, result.image, std::move(result.sourceMap)};
  return result.imageLength();
}

// The source band follows the image loaded: the last compile's, or none.
void FollowLoadedImage(const uint8_t* objectBuffer, uint32_t generation) {
  const std::vector<uint8_t>& image = lastCompile.image;
  if (!image.empty() && std::equal(image.begin(), image.end(), objectBuffer))
    ThePlayingSources().Set(generation, lastCompile.source, lastCompile.map);
  else ThePlayingSources().Clear();
}

bool MusicPlays() {
  const EngineStatus status = GetStatus();
  return PlayThreadRunning() && !PlayThreadInStandby() &&
         (status == EngineStatus::kPlaying || status == EngineStatus::kStarted);
}

// Hands the object buffer's image to the play thread, in place of one still
// waiting; a takeover the play thread has begun ends within its loop.
void HandOver(const uint8_t* objectBuffer) {
  while (TakeoverPending() && !WithdrawTakeover()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::copy(objectBuffer, objectBuffer + kObjectBufferSize, takeoverImage.begin());
  RequestTakeover(takeoverImage.data(), takeoverImage.size());
}

// A saved source, compiled without the question; see CoreCalls::reloadSource.
uint32_t Reload(ShellHost& host, const std::string& source, uint8_t* objectBuffer) {
  CompileResult result = CompileFile(source);
  if (!result.opened || !result.errorFree() || result.image.size() > kObjectBufferSize) {
    ShowCompileResult(host, source, result);
    return 0;
  }
  std::fill(objectBuffer, objectBuffer + kObjectBufferSize, 0);
  std::copy(result.image.begin(), result.image.end(), objectBuffer);
  lastCompile = {source, result.image, std::move(result.sourceMap)};
  const uint32_t generation = GetState().imageGeneration;
  if (MusicPlays()) {
    HandOver(objectBuffer);
    FollowLoadedImage(objectBuffer, generation + 1);
  } else {
    Halt();
    WithdrawTakeover();
    LoadImage(objectBuffer, kObjectBufferSize);
    FollowLoadedImage(objectBuffer, generation);
  }
  return result.imageLength();
}

// The refusal of music that could play longer than the export's limit.
std::string TooLongText(const RenderLength& length) {
  char text[256];
  std::snprintf(text, sizeof text, kSmfTooLongFormat, ClockText(length.seconds).c_str(),
                static_cast<long long>(length.ticks), length.tempo, ClockText(kDefaultRenderLimitSeconds).c_str());
  return text;
}

// Writes the engine's image as a Standard MIDI File and tells how it went:
// where the music ends, or why there is no file.
void ExportAndReport(ShellHost& host, const std::string& path) {
  SmfExport result = ExportSmf(path);
  switch (result.outcome) {
    case SmfOutcome::kWritten:
      host.ShowMessage(LoadText(TextId::kSmfResultCaption), result.EndPosition(), MessageIcon::kNone);
      break;
    case SmfOutcome::kCannotCreate: host.ShowMessage(path, LoadText(TextId::kCannotOpen), MessageIcon::kNone); break;
    case SmfOutcome::kWriteFailed:
      host.ShowMessage(path, std::string(kCannotWriteText) + "\n" + result.reason, MessageIcon::kError);
      break;
    case SmfOutcome::kTooLong: host.ShowMessage(path, TooLongText(result.length), MessageIcon::kWarning); break;
    case SmfOutcome::kTooLarge: host.ShowMessage(path, kSmfTooLargeText, MessageIcon::kWarning); break;
    case SmfOutcome::kNoImage: host.ShowMessage(kProgramCaption, kNothingToSave, MessageIcon::kInformation); break;
  }
}

}  // namespace

CoreCalls BindCore(ShellHost& host, Settings& settings) {
  CoreCalls core;
  core.engine = &GetState();
  core.compile = [&host](const std::string& source, uint8_t* objectBuffer) {
    return CompileAndReport(host, source, objectBuffer);
  };
  core.loadImage = [](const uint8_t* objectBuffer) {
    Halt();  // the engine's copy is not replaced under a playing thread
    WithdrawTakeover();
    LoadImage(objectBuffer, kObjectBufferSize);
    FollowLoadedImage(objectBuffer, GetState().imageGeneration);
  };
  core.playFromStart = PlayFromStart;
  core.playFromTick = PlayFromTick;
  core.reloadSource = [&host](const std::string& source, uint8_t* objectBuffer) {
    return Reload(host, source, objectBuffer);
  };
  core.halt = Halt;
  core.fadeOut = FadeOut;
  core.resume = Resume;
  core.exportSmf = [&host](const std::string& path) { ExportAndReport(host, path); };
  core.applyDeviceChoice = [&host, &settings] {
    UseOutputSettings(settings.midiConnect, settings.midiClock != 0);
    ApplyDeviceChoice(settings.midiDevice, [&host](const std::string& text) {
      host.ShowMessage(kProgramCaption, text, MessageIcon::kNone);
    });
  };
  core.closeOutput = CloseOutput;
  return core;
}

}  // namespace tsy
