# Mirvan.exe: the native Windows front end over the same core. Its dialogs
# and strings are generated from the files the Qt bar reads (res/dialogs,
# res/strings.json), its icons from the same SVGs.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)

set(_gen ${CMAKE_BINARY_DIR}/win32-res)
file(GLOB _svgs CONFIGURE_DEPENDS ${MIRVAN_ROOT}/res/icons/*.svg)
set(_icos)
foreach(svg ${_svgs})
  get_filename_component(n ${svg} NAME_WE)
  # Full colour (32 bits with alpha) at the sizes Windows asks for: the
  # buttons show 16 to 32 pixels; the program icon also the title bar and
  # taskbar of a scaled display and Explorer's views, up to 256 pixels
  # (stored as PNG).
  set(_sizes 16 24 32)
  set(_raw)
  if(n STREQUAL "128")
    list(APPEND _sizes 48 64 128)
    set(_raw --raw=${_gen}/${n}-256.png)
    set(_big COMMAND ${RSVG_CONVERT} -w 256 -h 256 -o ${_gen}/${n}-256.png ${svg})
  else()
    set(_big)
  endif()
  set(_renders)
  set(_pngs)
  foreach(px ${_sizes})
    list(APPEND _renders COMMAND ${RSVG_CONVERT} -w ${px} -h ${px} -o ${_gen}/${n}-${px}.png ${svg})
    list(APPEND _pngs ${_gen}/${n}-${px}.png)
  endforeach()
  add_custom_command(
    OUTPUT ${_gen}/${n}.ico
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_gen}
    ${_renders}
    ${_big}
    COMMAND ${ICOTOOL} -c -b 32 -o ${_gen}/${n}.ico ${_pngs} ${_raw}
    DEPENDS ${svg}
    VERBATIM)
  list(APPEND _icos ${_gen}/${n}.ico)
endforeach()

file(GLOB _dialogs CONFIGURE_DEPENDS ${MIRVAN_ROOT}/res/dialogs/*.json)
add_custom_command(
  OUTPUT ${_gen}/mirvan.rc
  COMMAND ${Python3_EXECUTABLE} ${MIRVAN_ROOT}/res/make_rc.py ${MIRVAN_ROOT}/res ${_gen} ${_gen}/mirvan.rc
  DEPENDS ${MIRVAN_ROOT}/res/make_rc.py ${MIRVAN_ROOT}/res/strings.json ${_dialogs} ${_icos}
  VERBATIM)
set_source_files_properties(${_gen}/mirvan.rc PROPERTIES GENERATED TRUE OBJECT_DEPENDS "${_icos}")

# The bar's windows over the core, as the user interface layer of this
# build, and the program's entry point, which picks the Windows platform.
mirvan_layer(ui USES actions core config document platform text SOURCES
  beside_bar.cpp caption_room.cpp win32/caption_fit.cpp win32/dialogs.cpp win32/main_dlg.cpp win32/problem_window.cpp win32/win32_prompts.cpp
  win32/win_text.cpp)
target_link_libraries(mirvan_ui PUBLIC comctl32 comdlg32 shell32)
mirvan_layer(app PROGRAM Mirvan USES ui actions core config document platform text SOURCES
  win32/winmain.cpp)
# The version resource and the manifest, from the project's version.
string(REPLACE "." "," MIRVAN_VERSION_COMMAS ${PROJECT_VERSION})
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/Mirvan.exe.manifest.in ${_gen}/Mirvan.exe.manifest @ONLY)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/version.rc.in ${_gen}/version.rc @ONLY)
set_source_files_properties(${_gen}/version.rc PROPERTIES OBJECT_DEPENDS ${_gen}/Mirvan.exe.manifest)
target_sources(Mirvan PRIVATE ${_gen}/mirvan.rc ${_gen}/version.rc)
set_target_properties(Mirvan PROPERTIES WIN32_EXECUTABLE ON)
# What is shipped carries no symbols: a third of the size.
target_link_options(Mirvan PRIVATE $<$<CONFIG:Release>:-s>)
# The script is UTF-8; windres must read it so.
target_compile_options(Mirvan PRIVATE $<$<COMPILE_LANGUAGE:RC>:-c65001>)

# Helpers of the bar's tests under Wine (tests/win32): the TeX tool stand-in
# and the window inspector.
add_executable(standin ${MIRVAN_ROOT}/tests/win32/standin.c)
add_executable(wininfo ${MIRVAN_ROOT}/tests/win32/wininfo.c)
target_link_libraries(wininfo PRIVATE comctl32 version)
add_executable(test_win32_ui ${MIRVAN_ROOT}/tests/win32/win32_text_test.cpp)
target_include_directories(test_win32_ui PRIVATE ${MIRVAN_ROOT}/src)
target_link_libraries(test_win32_ui PRIVATE mirvan_ui gtest_main)
