// Mirvan.exe: points the settings store at Mirvan.ini in the start-up
// folder, hands the command line to the bar as its first document, runs the
// bar as a modal dialog and ends with it.
#include <string>

#include "config/reporting_profile.h"
#include "platform/win/command_line.h"
#include "platform/win/win_platform.h"
#include "platform/win/win_profile.h"
#include "ui/win32/main_dlg.h"
#include "ui/win32/win32_prompts.h"

#include <commctrl.h>

namespace {

// The text after the program name in the raw command line: the name is
// quoted or runs to the first blank, and the blanks after it are skipped.
std::string ArgumentsOf(const char* line) {
  const char* p = line;
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

// The caption of every box that names none: the program file's name.
std::string AppTitle() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string name = exe;
  const std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX cc = {sizeof cc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&cc);

  WinPlatform platform;  // also settles the double-byte rules of the code page
  // Fixed now: the tools later change the working directory to the
  // document's folder, and the settings file must stay where it is.
  std::string settings;
  if (platform.GetCwd(settings)) settings += platform.Values().settingsFileName;
  WinProfile store(settings);
  Win32Prompts prompts(instance, AppTitle());
  ReportingProfile profile(store, prompts, settings);
  // Said once, before the bar: it then runs on the defaults.
  const std::string settingsTrouble = store.Trouble();
  if (!settingsTrouble.empty()) {
    prompts.Notice(settingsTrouble);
    profile.AlreadyTold();
  }

  CMirvanWin bar(MirvanEnv{profile, platform, prompts}, prompts);
  bar.Bar().SetFirstDocument(DocumentFromCommandLine(ArgumentsOf(GetCommandLineA())));
  bar.DoModal();  // its result does not matter: the program ends either way
  return 0;
}
