// The desktop program's bindings of the shell to the core: what the boxes
// of an export say.
#include "app/core_calls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/compiler/compile_driver.h"
#include "core/engine/engine_call.h"
#include "core/settings/settings.h"
#include "scratch_folder.h"
#include "scripted_host.h"

namespace tsy::test {
namespace {

TEST(CoreBindings, ExportSmf0RefusesMusicThatCouldPlayPastADayInABox) {
  const ScratchFolder folder;
  ScriptedHost host;
  Settings settings;
  const CoreCalls core = BindCore(host, settings);
  const CompileResult compiled = CompileSource("1[ @label1 ((((c64)255)255)255)255 @jump1 ]");
  std::vector<uint8_t> objectBuffer(kObjectBufferSize, 0);
  std::copy(compiled.image.begin(), compiled.image.end(), objectBuffer.begin());
  ClearEngineState();
  core.loadImage(objectBuffer.data());

  const std::string path = (folder / "loop.mid").string();
  core.exportSmf(path);
  EXPECT_EQ(host.Take(), std::vector<std::string>{"message " + path +
                                                  ": 演奏時間が長すぎるため出力できません\n"
                                                  "最長 24855:08:26 (8589936510 ティック、テンポ 120)\n"
                                                  "上限 24:00:00 icon 3"});
  EXPECT_EQ(folder.Entries(), 0);
}

}  // namespace
}  // namespace tsy::test
