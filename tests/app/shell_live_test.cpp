// The shell's commands for working on a piece while it plays: live reload of
// the saved source and play from a bar, driven through a scripted host.
#include <gtest/gtest.h>

#include "app/menu_model.h"
#include "app/shell.h"
#include "core/settings/settings.h"
#include "scripted_host.h"

namespace tsy {
namespace {

using test::RecordingCore;
using test::ScriptedHost;
using Log = std::vector<std::string>;

class ShellLiveTest : public ::testing::Test {
 protected:
  ShellLiveTest() {
    settings.loadInFile = "song.mus";
    shell = std::make_unique<Shell>(host, core.Bind(host), settings);
    shell->Start();
    host.Pump();
    host.Take();
  }
  void Choose(int id) {
    shell->MenuChosen(id);
    host.Pump();
  }

  Settings settings;
  ScriptedHost host;
  RecordingCore core;
  std::unique_ptr<Shell> shell;
};

TEST_F(ShellLiveTest, ASaveTakesOverOnlyWithLiveReloadAndWithoutTheQuestion) {
  core.compileResult = 600;
  shell->SourceSaved();
  EXPECT_EQ(host.Take(), Log{}) << "LiveReload is off by default";

  settings.liveReload = 1;
  shell->SourceSaved();
  EXPECT_EQ(host.Take(), Log{"reload song.mus"});
  EXPECT_EQ(shell->state().compiledSize, 600u);
  EXPECT_EQ(shell->state().lastCompiledFile, "song.mus");
}

TEST_F(ShellLiveTest, AFailedReloadKeepsWhatWasCompiledBefore) {
  settings.liveReload = 1;
  core.compileResult = 0;
  shell->SourceSaved();
  EXPECT_EQ(host.Take(), Log{"reload song.mus"});
  EXPECT_EQ(shell->state().lastCompiledFile, "");
}

TEST_F(ShellLiveTest, AnObjectFileIsNeverReloaded) {
  settings.liveReload = 1;
  settings.loadInFile = "song.emd";
  Shell other(host, core.Bind(host), settings);
  other.SourceSaved();
  EXPECT_EQ(host.Take(), Log{});
}

TEST_F(ShellLiveTest, PlayFromBarAsksForTheBarAndRemembersIt) {
  host.numbers = {12};
  Choose(kMenuPlayFromBar);
  EXPECT_EQ(host.Take(), (Log{"ask number 演奏を始める小節 (0.000 から数えて) 0 0..9999", "play from tick 2304"}));
  Choose(kMenuPlayFromBar);  // cancelled: nothing plays
  EXPECT_EQ(host.Take(), Log{"ask number 演奏を始める小節 (0.000 から数えて) 12 0..9999"});
}

TEST(MenuPlayFromBar, ComesAfterReplayAndPostsNoKey) {
  const std::vector<MenuItem> described = MainMenu(true, 0);
  const std::vector<MenuItem> menu = WithPlayFromBar(described);
  ASSERT_EQ(menu.size(), described.size() + 1);
  EXPECT_EQ(menu[3].id, kMenuReplay);
  EXPECT_EQ(menu[4].id, kMenuPlayFromBar);
  EXPECT_EQ(menu[4].text, "Play from &Bar...");
  EXPECT_EQ(KeyOfMenuItem(kMenuPlayFromBar), 0);
}

}  // namespace
}  // namespace tsy
