# The test programs and their files, one program per layer. Shared by the
# native build and the Windows cross build: a test file is listed here or it
# is not built anywhere, so none can silently drop out of the Wine run.

# Portable: built natively and for Windows.
set(MIRVAN_TESTS_text text/mbcs_test.cpp)
set(MIRVAN_TESTS_config
  config/configuration_test.cpp config/dialogs_mkidx_test.cpp config/dialogs_pdfsize_test.cpp
  config/ini_profile_test.cpp config/ini_windows_cases_test.cpp)
set(MIRVAN_TESTS_document
  document/drop_select_test.cpp document/history_box_test.cpp document/history_test.cpp
  document/split_path_test.cpp)
set(MIRVAN_TESTS_actions
  actions/bib_index_test.cpp actions/compile_test.cpp actions/editor_command_test.cpp actions/pdf_test.cpp
  actions/read_file_test.cpp actions/settings_dlg_test.cpp actions/shell_actions_test.cpp actions/tex_log_test.cpp
  actions/tools_test.cpp)
set(MIRVAN_TESTS_core core/dispatch_test.cpp)
set(MIRVAN_PORTABLE_TEST_PROGRAMS text config document actions core)

# Native only: they drive the POSIX layer itself (real processes through
# fork/exec, POSIX files, GIO) or real TeX.
set(MIRVAN_POSIX_TESTS_config config/ini_profile_posix_test.cpp)
set(MIRVAN_POSIX_TESTS_document document/history_ini_test.cpp)
set(MIRVAN_POSIX_TESTS_actions actions/real_tex_test.cpp actions/real_tools_test.cpp)
set(MIRVAN_POSIX_TESTS_platform
  platform/editor_line_test.cpp platform/file_watch_test.cpp platform/open_document_test.cpp
  platform/posix_platform_test.cpp platform/run_tool_test.cpp)

# Windows only: the real Windows platform layer, the private profile
# functions against our INI layer, and the C runtime's double-byte rules;
# and the file watch, whose test serves both systems.
set(MIRVAN_WINDOWS_TESTS
  platform/file_watch_test.cpp windows/crt_mbcs_test.cpp windows/ini_differential_test.cpp windows/main.cpp
  windows/probe_chain_test.cpp windows/win_platform_test.cpp)

set(MIRVAN_TEST_SUPPORT support/fakes.cpp support/temp_dir.cpp)

set(MIRVAN_UI_TESTS
  ui/console_window_test.cpp ui/dialog_about_test.cpp ui/dialog_mkidx_opt_test.cpp
  ui/dialog_pdf_size_test.cpp ui/dialog_settings_test.cpp ui/dialog_template_test.cpp ui/main.cpp
  ui/main_window_test.cpp ui/qt_prompts_test.cpp ui/smoke_test.cpp ui/startup_process_test.cpp)
