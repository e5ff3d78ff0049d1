// The application object: points the settings store at Mirvan.ini in the
// start-up folder, hands the command line to the bar as its first document,
// runs the bar modally and ends the program with it.
#pragma once

class CMirvanApp {
 public:
  CMirvanApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}
  // Start-up, the bar's whole run, and the end. Returns the exit status.
  int InitInstance();

 private:
  int& m_argc;
  char** m_argv;
};
