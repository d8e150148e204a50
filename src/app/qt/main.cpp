// tessaly32: the desktop program. Takes no command-line arguments.
#include <QApplication>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);  // the main window's close decides

  // Settings beside the executable, tone lists, then the window.
  std::string settingsPath = tsy::SettingsFilePath(QCoreApplication::applicationDirPath().toStdString());
  tsy::Settings settings;
  tsy::ReadSettings(settings, settingsPath);
  tsy::LoadToneFiles(settings);

  tsy::MainWindow window(settings, tsy::BindCore);
  window.show();
  RaiseProcessPriority();
  app.exec();

  // The window is gone by now; a terminal or the session's log still hears it.
  if (!tsy::WriteSettings(settings, settingsPath, tsy::FileVersion()))
    std::fprintf(stderr, "tessaly32: cannot write the settings to %s; this session's changes to them are lost\n",
                 settingsPath.c_str());
  return 0;
}
