# The test programs and their files, one program per layer. Shared by the
# native build and the Windows cross build: a test file is listed here or it
# is not built anywhere, so none can silently drop out of the Wine run.

# Portable: built natively and for Windows.
set(MIRVAN_TESTS_text text/mbcs_test.cpp)
set(MIRVAN_TESTS_config
  config/configuration_test.cpp config/dialogs_mkidx_test.cpp config/dialogs_pdfsize_test.cpp
  config/ini_profile_test.cpp config/ini_windows_cases_test.cpp config/reporting_profile_test.cpp)
set(MIRVAN_TESTS_document
  document/drop_select_test.cpp document/history_box_test.cpp document/history_test.cpp
  document/split_path_test.cpp)
set(MIRVAN_TESTS_actions
  actions/bib_index_test.cpp actions/compile_test.cpp actions/editor_command_test.cpp actions/pdf_test.cpp
  actions/read_file_test.cpp actions/settings_dlg_test.cpp actions/shell_actions_test.cpp actions/tex_log_test.cpp
  actions/tex_name_test.cpp actions/tools_test.cpp)
set(MIRVAN_TESTS_core
  core/bar_controller_test.cpp core/dispatch_test.cpp core/mirvan_dlg_test.cpp core/stop_test.cpp)
set(MIRVAN_PORTABLE_TEST_PROGRAMS text config document actions core)

# Native only: they drive the POSIX layer itself (real processes through
# fork/exec, POSIX files, GIO) or real TeX.
set(MIRVAN_POSIX_TESTS_config config/ini_profile_posix_test.cpp)
set(MIRVAN_POSIX_TESTS_document document/history_ini_test.cpp)
set(MIRVAN_POSIX_TESTS_actions actions/editor_line_test.cpp actions/real_tex_test.cpp actions/real_tools_test.cpp)
set(MIRVAN_POSIX_TESTS_platform
  platform/file_watch_test.cpp platform/open_document_test.cpp
  platform/posix_platform_test.cpp platform/run_tool_test.cpp)

# Windows only: the real Windows platform layer, the private profile
# functions against our INI layer, and the C runtime's double-byte rules;
# and the file watch, whose test serves both systems.
set(MIRVAN_WINDOWS_TESTS
  platform/file_watch_test.cpp windows/crt_mbcs_test.cpp windows/ini_differential_test.cpp windows/main.cpp
  windows/probe_chain_test.cpp windows/win_platform_test.cpp)

# The doubles and temporary folders every layer's tests use: they stand on
# the platform layer alone. The rigs that build a layer's parts
# (support/config_rig.h, document_rig.h, actions_rig.h, bar.h) are headers,
# so each is compiled only by the test programs that may see its layer.
set(MIRVAN_TEST_SUPPORT support/fakes.cpp support/temp_dir.cpp)

set(MIRVAN_UI_TESTS
  ui/beside_bar_test.cpp ui/console_window_test.cpp ui/dialog_about_test.cpp ui/dialog_mkidx_opt_test.cpp
  ui/dialog_pdf_size_test.cpp ui/dialog_settings_test.cpp ui/dialog_template_test.cpp ui/main.cpp
  ui/main_window_test.cpp ui/qt_prompts_test.cpp ui/smoke_test.cpp ui/startup_process_test.cpp)

# mirvan_test_program(<target> <layer> <sources...>): the test program of a
# layer sees the headers of that layer and those below it only, as the layer
# itself does (its include path is the layer's folder of links), and links
# that layer's library and the test support. The build stops when the
# program, directly or through what it links, links a layer above its own:
# a layer's tests then show that the layer stands on what is below it alone.
function(mirvan_test_program target layer)
  add_executable(${target} ${ARGN})
  target_include_directories(${target} PRIVATE ${MIRVAN_ROOT}/tests ${CMAKE_BINARY_DIR}/layers/${layer})
  target_link_libraries(${target} PRIVATE mirvan_${layer})
  if(NOT layer STREQUAL "text")
    target_link_libraries(${target} PRIVATE mirvan_test_support)
  endif()
  # Checked once the whole folder is read, so that no later link is missed.
  cmake_language(EVAL CODE "cmake_language(DEFER CALL _mirvan_check_test_links [[${target}]] [[${layer}]])")
endfunction()

function(_mirvan_check_test_links target layer)
  get_target_property(allowed mirvan_${layer} MIRVAN_VISIBLE)
  set(queue ${target})
  set(seen)
  while(queue)
    list(POP_FRONT queue current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    set(libs)
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(more ${current} ${property})
      if(more)
        list(APPEND libs ${more})
      endif()
    endforeach()
    foreach(lib ${libs})
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
      if(NOT lib MATCHES "^mirvan_" OR NOT TARGET ${lib})
        continue()
      endif()
      get_target_property(visible ${lib} MIRVAN_VISIBLE)
      string(REGEX REPLACE "^mirvan_" "" name ${lib})
      if(visible AND NOT name IN_LIST allowed)
        message(FATAL_ERROR "${target}, the tests of the ${layer} layer, links ${lib}: a layer above ${layer}")
      endif()
      list(APPEND queue ${lib})
    endforeach()
  endwhile()
endfunction()
