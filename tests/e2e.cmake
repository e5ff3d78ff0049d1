# End-to-end tests: the real program in a private X server (Xvfb + openbox),
# driven with X input, running the real TeX chain. Each script is one test.
# They need a display server and the TeX tools, so they only exist where the
# UI is built on an X11 system.
if(MIRVAN_BUILD_UI AND UNIX AND NOT APPLE)
  set(_e2e_scripts bar_window build_actions console desktop dialog_enter display document_paths drop editor_terminal
    first_bibliography garbage_ini history pdf_size_memory compile_on_save settings_bibtex problems small_screen stop tex_error tex_names
    warning)
  foreach(_name ${_e2e_scripts})
    add_test(NAME e2e.${_name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/test_${_name}.sh)
    set_tests_properties(e2e.${_name} PROPERTIES
      LABELS e2e
      TIMEOUT 300
      ENVIRONMENT "MIRVAN_BIN=$<TARGET_FILE:mirvan>")
  endforeach()

  # The Debian package: built with CPack from this build tree, then unpacked
  # and checked.
  add_test(NAME package.deb
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/package_check.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(package.deb PROPERTIES LABELS "package" TIMEOUT 300)
endif()
