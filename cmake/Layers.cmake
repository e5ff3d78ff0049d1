# The layers of the program, one static library each, and the direction of
# the arrows between them. Shared by the native build and the Windows cross
# build (win/), so the two describe the core once.
#
# A layer sees only its own headers and those of the layers it is built on:
# its include path is a folder of links to exactly those source folders, so
# an include that points the wrong way does not compile. scripts/check-layers
# checks the same rule on the sources themselves.
if(NOT DEFINED MIRVAN_ROOT)
  set(MIRVAN_ROOT ${CMAKE_SOURCE_DIR})
endif()

# mirvan_layer(<name> SOURCES <files under src/<name>> [USES <lower layers>]
#              [PROGRAM <executable>])
# The target is mirvan_<name>, or the program when one is named.
function(mirvan_layer name)
  cmake_parse_arguments(L "" "PROGRAM" "SOURCES;USES" ${ARGN})
  list(TRANSFORM L_SOURCES PREPEND ${MIRVAN_ROOT}/src/${name}/)
  if(L_PROGRAM)
    add_executable(${L_PROGRAM} ${L_SOURCES})
    set(target ${L_PROGRAM})
  else()
    add_library(mirvan_${name} STATIC ${L_SOURCES})
    set(target mirvan_${name})
  endif()
  set(visible ${name})
  foreach(dep ${L_USES})
    get_target_property(below mirvan_${dep} MIRVAN_VISIBLE)
    list(APPEND visible ${below})
  endforeach()
  list(REMOVE_DUPLICATES visible)
  set_target_properties(${target} PROPERTIES MIRVAN_VISIBLE "${visible}")
  set(view ${CMAKE_BINARY_DIR}/layers/${name})
  file(REMOVE_RECURSE ${view})
  file(MAKE_DIRECTORY ${view})
  foreach(layer ${visible})
    file(CREATE_LINK ${MIRVAN_ROOT}/src/${layer} ${view}/${layer} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${view})
  list(TRANSFORM L_USES PREPEND mirvan_)
  target_link_libraries(${target} PUBLIC ${L_USES})
  target_compile_options(${target} PRIVATE ${MIRVAN_WARNINGS})
endfunction()

mirvan_layer(text SOURCES mbcs.cpp)

if(WIN32)
  mirvan_layer(platform USES text SOURCES
    file_watch.cpp platform_values.cpp win/change_watch.cpp win/command_line.cpp win/files.cpp win/win_platform.cpp
    win/win_profile.cpp)
  target_compile_definitions(mirvan_platform PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)
  target_link_libraries(mirvan_platform PUBLIC shell32)
else()
  mirvan_layer(platform USES text SOURCES
    file_watch.cpp platform_values.cpp posix/child_process.cpp posix/files.cpp posix/headless_console.cpp
    posix/inotify_watch.cpp posix/posix_platform.cpp)
  find_package(PkgConfig REQUIRED)
  # GIO's headers only: the library is loaded when a document is first opened.
  pkg_check_modules(GIO REQUIRED gio-2.0)
  target_include_directories(mirvan_platform SYSTEM PRIVATE ${GIO_INCLUDE_DIRS})
  target_link_libraries(mirvan_platform PUBLIC ${CMAKE_DL_LIBS})
endif()

mirvan_layer(config USES platform text SOURCES ini_profile.cpp option_dialogs.cpp reporting_profile.cpp
  tool_config.cpp)
# config/resource_ids.h is made from res/: seen by the configuration and
# everything built on it.
include(${MIRVAN_ROOT}/cmake/ResourceIds.cmake)
target_include_directories(mirvan_config PUBLIC ${MIRVAN_GENERATED_DIR})
mirvan_layer(document USES config platform text SOURCES document.cpp history_box.cpp)
mirvan_layer(actions USES document config platform text SOURCES
  bib_index.cpp compile.cpp editor_command.cpp pdf.cpp problems.cpp read_file.cpp settings_dlg.cpp shell_actions.cpp tex_log.cpp
  tex_name.cpp tool_runner.cpp)
mirvan_layer(core USES actions document config platform text SOURCES bar_controller.cpp dispatch.cpp mirvan_dlg.cpp)

# Everything below the user interface, for the front ends, tests and benchmarks.
add_library(mirvan_toolkit_free INTERFACE)
target_link_libraries(mirvan_toolkit_free INTERFACE mirvan_core)
