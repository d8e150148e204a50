// tessaly32: the desktop program. `tessaly32 [FILE]`; --help and --version
// print without opening a window.
#include <QApplication>
#include <QIcon>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

#include "app/command_line.h"
#include "app/core_calls.h"
#include "app/qt/main_window.h"
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

  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);  // the main window's close decides
  app.setWindowIcon(ProgramIcon());
  app.setDesktopFileName(TSY_APP_ID);  // Wayland desktops match the window to its entry by this

  // Settings beside the executable, tone lists, then the window.
  std::string settingsPath = tsy::SettingsFilePath(QCoreApplication::applicationDirPath().toStdString());
  tsy::Settings settings;
  tsy::ReadSettings(settings, settingsPath);
  tsy::LoadToneFiles(settings);

  tsy::MainWindow window(settings, tsy::BindCore);
  window.shell().OpenAtStart(commandLine.file);
  window.show();
  RaiseProcessPriority();
  app.exec();

  // The window is gone by now; a terminal or the session's log still hears it.
  if (!tsy::WriteSettings(settings, settingsPath, tsy::FileVersion()))
    std::fprintf(stderr, "tessaly32: cannot write the settings to %s; this session's changes to them are lost\n",
                 settingsPath.c_str());
  return 0;
}
