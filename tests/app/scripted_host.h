#pragma once
// A host and core calls for driving the shell in tests: every call is
// written to one log, questions and dialogs answer from a script, and posted
// work waits until the test pumps it.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/core_calls.h"
#include "app/shell_host.h"
#include "core/engine/engine_state.h"

namespace tsy::test {

class ScriptedHost : public ShellHost {
 public:
  std::vector<std::string> log;
  std::deque<bool> answers;                 // AskYesNo answers; "no" when empty
  std::deque<FileDialogResult> dialogs;     // RunFileDialog answers; cancel when empty
  std::vector<FileDialogRequest> requests;  // every dialog asked for
  bool associationWorks = true;
  bool optionsSaved = false;
  std::deque<std::function<void()>> posted;
  std::deque<std::optional<int>> numbers;  // AskNumber answers; cancel when empty

  // Runs posted work, including work posted meanwhile, until none is left.
  void Pump() {
    while (!posted.empty()) {
      auto task = std::move(posted.front());
      posted.pop_front();
      task();
    }
  }

  bool AskYesNo(const std::string& text, bool noIsDefault) override {
    log.push_back("ask " + text + (noIsDefault ? " [no]" : " [yes]"));
    if (answers.empty()) return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override {
    log.push_back("message " + caption + ": " + text + " icon " + std::to_string(int(icon)));
  }
  FileDialogResult RunFileDialog(const FileDialogRequest& request) override {
    requests.push_back(request);
    log.push_back(std::string(request.save ? "save " : "open ") + request.title);
    if (dialogs.empty()) return {};
    FileDialogResult result = dialogs.front();
    dialogs.pop_front();
    return result;
  }
  bool OpenWithAssociation(const std::string& path) override {
    log.push_back("associate " + path);
    return associationWorks;
  }
  bool StartTextEditor(const std::string& path) override {
    log.push_back("editor " + path);
    return true;
  }
  void ShowAbout(const std::string& versionText) override { log.push_back("about " + versionText); }
  bool RunOptionsSheet() override {
    log.push_back("options");
    return optionsSaved;
  }
  void OpenToneWindow() override { log.push_back("tone window"); }
  void RaiseOwnedWindow() override { log.push_back("raise owned"); }
  void Repaint() override { log.push_back("repaint"); }
  void SetCaption(const std::string& caption) override { log.push_back("caption " + caption); }
  void StartDisplayRefresh() override { log.push_back("display refresh"); }
  void RequestClose() override { log.push_back("close"); }
  void Post(std::function<void()> task) override { posted.push_back(std::move(task)); }

  // The log since the last call, emptied.
  std::optional<int> AskNumber(const std::string& prompt, int value, int min, int max) override {
    log.push_back("ask number " + prompt + " " + std::to_string(value) + " " + std::to_string(min) + ".." +
                  std::to_string(max));
    if (numbers.empty()) return std::nullopt;
    const std::optional<int> answer = numbers.front();
    numbers.pop_front();
    return answer;
  }

  std::vector<std::string> Take() {
    std::vector<std::string> taken;
    taken.swap(log);
    return taken;
  }
};

// Core calls that write to the host's log; compile returns `compileResult`
// and, when it is above 0, puts an image of that length in the buffer.
struct RecordingCore {
  std::unique_ptr<EngineState> engine = std::make_unique<EngineState>();
  uint32_t compileResult = 0;

  CoreCalls Bind(ScriptedHost& host) {
    CoreCalls core;
    core.engine = engine.get();
    core.compile = [this, &host](const std::string& source, uint8_t* buffer) {
      host.log.push_back("compile " + source);
      if (compileResult >= 403) WriteImage(buffer, compileResult);
      return compileResult;
    };
    core.loadImage = [&host](const uint8_t*) { host.log.push_back("load image"); };
    core.playFromStart = [&host] { host.log.push_back("play from start"); };
    core.playFromTick = [&host](uint32_t tick) { host.log.push_back("play from tick " + std::to_string(tick)); };
    core.reloadSource = [this, &host](const std::string& source, uint8_t* buffer) {
      host.log.push_back("reload " + source);
      if (compileResult >= 403) WriteImage(buffer, compileResult);
      return compileResult;
    };
    core.halt = [&host] { host.log.push_back("halt"); };
    core.fadeOut = [&host] { host.log.push_back("fade out"); };
    core.resume = [&host] { host.log.push_back("resume"); };
    core.exportSmf = [&host](const std::string& path) { host.log.push_back("export " + path); };
    core.applyDeviceChoice = [&host] { host.log.push_back("apply device"); };
    core.closeOutput = [&host] { host.log.push_back("close output"); };
    return core;
  }

  // An image header of `length` bytes: magic, version 23 and the length.
  static void WriteImage(uint8_t* buffer, uint32_t length) {
    buffer[0] = 'E', buffer[1] = 'M', buffer[2] = 'D', buffer[3] = '1';
    buffer[391] = 23;
    for (int i = 0; i < 4; ++i) buffer[392 + i] = uint8_t(length >> (8 * i));
  }
};

}  // namespace tsy::test
