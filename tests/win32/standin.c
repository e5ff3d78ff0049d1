/* Stands in for a TeX tool on the Windows PATH under Wine: copied as
 * platex.exe, jbibtex.exe, mendex.exe, dvipdfmx.exe. It records its name and
 * arguments, then has Wine start the real Linux tool through a shell
 * script, waits for it and exits with its status.
 *
 *   MIRVAN_TOOL_LOG   (Windows path) gets "name<TAB>arg1<TAB>arg2..." per call
 *   MIRVAN_UNIX_RUNNER (Windows path of run-unix.sh) runs the real tool and
 *                      leaves its exit status in MIRVAN_TOOL_LOG.status
 *   MIRVAN_STANDIN_HOLD (Windows path) the tool waits for this file to exist
 *                      before it runs: it is "still running" meanwhile
 *   MIRVAN_STANDIN_STOP (a tool name) that tool ends at once with the status
 *                      Windows gives a console program stopped by Ctrl+C or
 *                      by closing its console
 *   MIRVAN_STANDIN_FAIL (a tool name) that tool exits 1 without running
 *
 * Wine neither waits for a Linux program it started nor hands back its exit
 * status, so the stand-in waits for the status file instead. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
  char self[MAX_PATH];
  GetModuleFileNameA(NULL, self, MAX_PATH);
  char* name = strrchr(self, '\\');
  name = name ? name + 1 : self;
  char* dot = strrchr(name, '.');
  if (dot) *dot = '\0';

  const char* log = getenv("MIRVAN_TOOL_LOG");
  const char* runner = getenv("MIRVAN_UNIX_RUNNER");
  if (!log || !runner) return 127;
  FILE* f = fopen(log, "ab");
  if (f) {
    fputs(name, f);
    for (int i = 1; i < argc; ++i) fprintf(f, "\t%s", argv[i]);
    fputs("\n", f);
    fclose(f);
  }

  const char* hold = getenv("MIRVAN_STANDIN_HOLD");
  while (hold && *hold && GetFileAttributesA(hold) == INVALID_FILE_ATTRIBUTES) Sleep(50);
  const char* stop = getenv("MIRVAN_STANDIN_STOP");
  if (stop && strcmp(stop, name) == 0) return (int)0xC000013AUL;
  const char* fail = getenv("MIRVAN_STANDIN_FAIL");
  if (fail && strcmp(fail, name) == 0) return 1;

  char status[MAX_PATH];
  snprintf(status, sizeof status, "%s.status", log);
  DeleteFileA(status);
  static char cmd[32768];
  int n = snprintf(cmd, sizeof cmd, "\"%s\" %s", runner, name);
  for (int i = 1; i < argc && n < (int)sizeof cmd; ++i) n += snprintf(cmd + n, sizeof cmd - n, " \"%s\"", argv[i]);
  STARTUPINFOA si;
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  if (!CreateProcessA(NULL, cmd, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return 126;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  /* The script writes the file in one go once the tool has ended. */
  for (;;) {
    f = fopen(status, "rb");
    if (f) {
      int code = 125;
      int got = fscanf(f, "%d", &code);
      fclose(f);
      if (got == 1) return code;
    }
    Sleep(50);
  }
}
