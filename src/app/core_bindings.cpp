#include "app/core_calls.h"

#include "app/shell_host.h"
#include "core/compiler/compile_driver.h"
#include "core/engine/engine_call.h"
#include "core/settings/settings.h"
#include "platform/text_codec.h"
#include "resources/string_table.h"

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
  (void)settings;
  CoreCalls core;
  core.engine = &GetState();
  core.compile = [&host](const std::string& source, uint8_t* objectBuffer) {
    return CompileAndReport(host, source, objectBuffer);
  };
  core.loadImage = [](const uint8_t*) {};
  core.playFromStart = [] {};
  core.halt = [] {};
  core.fadeOut = [] {};
  core.resume = [] {};
  core.exportSmf = [](const std::string&) {};
  core.applyDeviceChoice = [] {};
  core.closeOutput = [] {};
  return core;
}

}  // namespace tsy
