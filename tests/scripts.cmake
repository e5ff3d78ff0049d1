# The README's commands and the desktop launcher, checked with stand-ins for
# the build and the program, and the test list itself.
if(UNIX)
  add_test(NAME scripts.run COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/run_check.sh)
  add_test(NAME scripts.desktop_launcher COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/desktop_launcher_check.sh)
  add_test(NAME tests.names COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/names_check.sh ${CMAKE_BINARY_DIR})
endif()
