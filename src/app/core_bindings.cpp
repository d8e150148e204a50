#include "app/core_calls.h"

#include "app/shell_host.h"
#include "core/compiler/compile_driver.h"
#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/engine/play_controls.h"
#include "core/settings/settings.h"
#include "midiout/device_choice.h"
#include "platform/text_codec.h"
#include "resources/string_table.h"
#include "resources/window_texts.h"

namespace tsy {
namespace {

constexpr int kCannotOpenText = 1001;       // "ファイルを開けません"
constexpr int kCompileResultCaption = 2004;  // "解析小節数"

// Compiles `source` into the object buffer and shows what the compile says:
// the message text, or that the source could not be opened.
uint32_t CompileAndReport(ShellHost& host, const std::string& source, uint8_t* objectBuffer) {
  CompileResult result = CompileFile(source, objectBuffer);
  if (!result.opened)
    host.ShowMessage(source, LoadText(kCannotOpenText), MessageIcon::kNone);
  else
    host.ShowMessage(LoadText(kCompileResultCaption), Cp932ToUtf8(result.messageText),
                     MessageIcon::kNone);
  return result.imageLength();
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
    LoadImage(objectBuffer, kEngineImageCapacity);
  };
  core.playFromStart = PlayFromStart;
  core.halt = Halt;
  core.fadeOut = FadeOut;
  core.resume = Resume;
  core.exportSmf = [](const std::string&) {};
  core.applyDeviceChoice = [&host, &settings] {
    ApplyDeviceChoice(settings.midiDevice, [&host](int textId) {
      host.ShowMessage(kProgramCaption, LoadText(textId), MessageIcon::kNone);
    });
  };
  core.closeOutput = CloseOutput;
  return core;
}

}  // namespace tsy
