#pragma once
// What the shell asks of the windowing side: questions, message boxes, file
// dialogs, the editor, the About box, the Options sheet, the Tone window,
// repaints and posted work. The desktop program implements it with Qt; the
// tests implement it with a script. Every text is UTF-8.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tsy {

enum class MessageIcon { kNone, kInformation, kQuestion, kWarning, kError };

struct FileFilter {
  std::string description;  // as the dialog lists it, e.g. kMusFilter
  std::string pattern;      // "*.mus"
};

struct FileDialogRequest {
  bool save = false;  // save: the folder must exist, overwriting is asked first;
                      // open: the file must exist
  std::string title;
  std::vector<FileFilter> filters;
  std::string initialFolder;
  std::string initialName;
};

// Dialog results: the chosen filter's index from 1; only 1 or more counts.
constexpr int kDialogError = -1;
constexpr int kDialogCancelled = -2;

struct FileDialogResult {
  int result = kDialogCancelled;
  std::string path;
};

class ShellHost {
 public:
  virtual ~ShellHost() = default;

  // A Yes/No question with the question icon, titled with the program caption.
  virtual bool AskYesNo(const std::string& text, bool noIsDefault) = 0;
  // A message box with an OK button.
  virtual void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) = 0;
  // An open or save dialog; the main window and the Tone window are disabled
  // while it is open.
  virtual FileDialogResult RunFileDialog(const FileDialogRequest& request) = 0;

  // Opens `path` with the program associated with its type; false on failure.
  virtual bool OpenWithAssociation(const std::string& path) = 0;
  // Starts the plain text editor with `path`: the fallback of the above.
  virtual bool StartTextEditor(const std::string& path) = 0;

  // The modal About box with "Version %s" filled with `versionText`.
  virtual void ShowAbout(const std::string& versionText) = 0;
  // The modal Options sheet; true when it ended with its changes saved.
  virtual bool RunOptionsSheet() = 0;
  virtual void OpenToneWindow() = 0;
  // Brings the first window the main window owns (the Tone window, a dialog)
  // to the foreground.
  virtual void RaiseOwnedWindow() = 0;

  // Repaints the main window at once.
  virtual void Repaint() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Starts the track status display's refresh thread.
  virtual void StartDisplayRefresh() = 0;
  // Asks the main window to close, as its close box does.
  virtual void RequestClose() = 0;
  // Runs `task` later on the window's thread, after what is already queued.
  virtual void Post(std::function<void()> task) = 0;

  // A modal question for a whole number in `min`..`max`, starting at
  // `value`, titled with the program caption; nothing when cancelled. A host
  // without one cancels.
  virtual std::optional<int> AskNumber(const std::string& prompt, int value, int min, int max) {
    (void)prompt, (void)value, (void)min, (void)max;
    return std::nullopt;
  }
};

}  // namespace tsy
