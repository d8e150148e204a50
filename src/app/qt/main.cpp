// tessaly32: the desktop program. `tessaly32 [FILE]`; --help and --version
// print without opening a window.
#include <QApplication>
#include <QIcon>
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

#include "app/command_line.h"
#include "app/core_calls.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_translations.h"
#include "app/qt/quit_signals.h"
#include "core/settings/settings.h"
#include "core/settings/tone_files.h"
#include "resources/version.h"

namespace {

// The process runs at a raised priority where the system allows it (the
// threads made later inherit it); elsewhere it stays as it is.
void RaiseProcessPriority() {
#ifdef _WIN32
  SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
#else
  constexpr int kHighNice = -5;
  setpriority(PRIO_PROCESS, 0, kHighNice);
#endif
}

// The program's icon, built in at the sizes the desktop installs, for every
// window the program opens; the desktop entry of the same name gives it too.
QIcon ProgramIcon() {
  QIcon icon;
  for (const char* size : {"48x48", "256x256"})
    icon.addFile(QStringLiteral(":/icons/%1/" TSY_APP_ID ".png").arg(QLatin1String(size)));
  return icon;
}

// Settings beside the executable, tone lists, the window, and the settings
// written back once the window has closed. What is not read or written is
// said on stderr: a terminal or the session's log still hears it.
int RunProgram(int argc, char** argv, const std::string& file) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);  // the main window's close decides
  app.setWindowIcon(ProgramIcon());
  app.setDesktopFileName(TSY_APP_ID);  // Wayland desktops match the window to its entry by this
  if (!tsy::InstallQtJapanese(app))
    std::fputs("tessaly32: Qt's Japanese translations (qtbase_ja) are not installed; Qt's own buttons stay English\n",
               stderr);

  std::string settingsPath = tsy::SettingsFilePath(QCoreApplication::applicationDirPath().toStdString());
  tsy::Settings settings;
  if (const tsy::FileResult read = tsy::ReadSettings(settings, settingsPath); !read.ok())
    std::fprintf(
        stderr,
        "tessaly32: cannot read the settings from %s (%s); the defaults are used and the file is not written over\n",
        settingsPath.c_str(), read.Reason().c_str());
  for (const tsy::ToneFileFault& fault : tsy::LoadToneFiles(settings))
    std::fprintf(stderr, "tessaly32: cannot read the tone file %s (%s); its tone list is empty\n", fault.path.c_str(),
                 fault.result.Reason().c_str());

  tsy::MainWindow window(settings, tsy::BindCore);
  tsy::QuitOnSignals(window, [&window] { window.CloseWithoutAsking(); });
  window.shell().OpenAtStart(file);
  window.show();
  RaiseProcessPriority();
  app.exec();

  if (const tsy::FileResult written = tsy::WriteSettings(settings, settingsPath, tsy::FileVersion()); !written.ok())
    std::fprintf(stderr, "tessaly32: cannot write the settings to %s (%s); this session's changes to them are lost\n",
                 settingsPath.c_str(), written.Reason().c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The arguments are read before Qt starts, so --help needs no display.
  const tsy::CommandLine commandLine = tsy::ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (commandLine.action) {
    case tsy::CommandLine::kHelp: std::fputs(tsy::CommandLineHelp().c_str(), stdout); return 0;
    case tsy::CommandLine::kVersion: std::fputs(tsy::CommandLineVersion().c_str(), stdout); return 0;
    case tsy::CommandLine::kBad:
      std::fprintf(stderr, "tessaly32: %s\nTry 'tessaly32 --help'.\n", commandLine.error.c_str());
      return 2;
    case tsy::CommandLine::kRun: break;
  }

  // A JACK server that stops fails the writes that reach it; it never ends the program.
  std::signal(SIGPIPE, SIG_IGN);
  // Whatever goes wrong ends with a word and exit 2, never with an abort.
  try {
    return RunProgram(argc, argv, commandLine.file);
  } catch (const std::bad_alloc&) {
    std::fputs("tessaly32: out of memory\n", stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tessaly32: %s\n", e.what());
  }
  return 2;
}
