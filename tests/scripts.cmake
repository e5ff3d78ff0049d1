# The README's commands and the desktop launcher, checked with stand-ins for
# the build and the program, and the test list itself.
if(UNIX)
  add_test(NAME scripts.run COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/run_check.sh)
  add_test(NAME scripts.desktop_launcher COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/desktop_launcher_check.sh)
  add_test(NAME tests.names COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/names_check.sh ${CMAKE_BINARY_DIR})
endif()

# The transcript reader fuzzed for 20 s under the sanitizers (scripts/fuzz-log;
# run it for 10 minutes with `scripts/fuzz-log 600`).
if(UNIX)
  add_test(NAME fuzz.tex_log COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fuzz-log 20)
  set_tests_properties(fuzz.tex_log PROPERTIES ENVIRONMENT "MIRVAN_FUZZ_DIR=${CMAKE_BINARY_DIR}/fuzz-log"
                                               TIMEOUT 300)
endif()
