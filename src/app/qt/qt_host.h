#pragma once
// The shell's host on Qt: message boxes, file dialogs, the editor launch, the
// About box, the Options sheet and the main window's own services.

#include <QPointer>
#include <QWidget>

#include "app/shell_host.h"

namespace tsy {

struct Settings;
class MainWindow;

class QtShellHost : public ShellHost {
 public:
  // `window` is the main window: the owner of every box and dialog.
  QtShellHost(MainWindow& window, Settings& settings);

  bool AskYesNo(const std::string& text, bool noIsDefault) override;
  void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override;
  FileDialogResult RunFileDialog(const FileDialogRequest& request) override;
  bool OpenWithAssociation(const std::string& path) override;
  bool StartTextEditor(const std::string& path) override;
  void ShowAbout(const std::string& versionText) override;
  bool RunOptionsSheet() override;
  void OpenToneWindow() override;
  void RaiseOwnedWindow() override;
  void Repaint() override;
  void SetCaption(const std::string& caption) override;
  void StartDisplayRefresh() override;
  void RequestClose() override;
  void Post(std::function<void()> task) override;
  std::optional<int> AskNumber(const std::string& prompt, int value, int min, int max) override;

 private:
  MainWindow& window_;
  Settings& settings_;
};

// The Qt form of a file dialog filter: the description, with the pattern in
// parentheses behind it unless the description ends with it already.
QString DialogFilter(const FileFilter& filter);

}  // namespace tsy
