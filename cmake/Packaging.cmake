# Installation layout for the desktop and the Debian package.
#
# `cmake --install` puts the program and its desktop launcher in bin/, a
# desktop entry (it claims no file type, so installing the package makes
# Mirvan nobody's default application; "Open with" passes the file on the
# command line), the icon in the hicolor theme (the SVG and PNGs drawn from
# it), the manual pages, the AppStream metadata, and the user manual, the
# copyright file and the changelog in the documentation folder. CPack turns
# the same layout into a .deb.
if(NOT MIRVAN_BUILD_UI OR NOT UNIX OR APPLE)
  return()
endif()

include(GNUInstallDirs)
# The package name in lower case, as Debian names documentation folders.
set(MIRVAN_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/mirvan)

install(FILES ${CMAKE_SOURCE_DIR}/res/mirvan.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The program's own icon (the cyan square with its name) is the theme icon.
install(FILES ${CMAKE_SOURCE_DIR}/res/icons/128.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME mirvan.svg)
if(EXISTS ${CMAKE_SOURCE_DIR}/docs/manual.html)
  install(FILES ${CMAKE_SOURCE_DIR}/docs/manual.html
          DESTINATION ${MIRVAN_DOCDIR})
else()
  message(WARNING "docs/manual.html is missing: the package will have no user manual")
endif()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${MIRVAN_DOCDIR})

set(_pkg_src ${CMAKE_SOURCE_DIR}/res/package)
set(_pkg ${CMAKE_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${_pkg})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/LICENSE ${_pkg_src}/changelog ${_pkg_src}/metainfo.xml.in)

# The changelog's newest entry is this version: a new version without an
# entry stops here rather than in a package that contradicts itself.
file(STRINGS ${_pkg_src}/changelog _top LIMIT_COUNT 1)
string(REGEX MATCH "^mirvan \\(([^)]*)\\)" _ "${_top}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "res/package/changelog: the newest entry is for version '${CMAKE_MATCH_1}', "
                      "the project is ${PROJECT_VERSION}; add an entry")
endif()
file(STRINGS ${_pkg_src}/changelog _trailer REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX MATCH ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) " _ "${_trailer}")
set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND _months "${CMAKE_MATCH_2}" _month)
if(_month LESS 0)
  message(FATAL_ERROR "res/package/changelog: no date in '${_trailer}'")
endif()
math(EXPR _month "${_month} + 1" OUTPUT_FORMAT DECIMAL)
if(_month LESS 10)
  set(_month 0${_month})
endif()
set(MIRVAN_RELEASE_DATE ${CMAKE_MATCH_3}-${_month}-${CMAKE_MATCH_1})

# The copyright file in Debian's machine-readable format, its licence text
# taken from LICENSE (from the conditions on: the title and the copyright
# line are fields here). Continuation lines start with a blank, empty ones
# are a lone dot.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE _licence)
string(FIND "${_licence}" "Redistribution and use" _at)
string(SUBSTRING "${_licence}" ${_at} -1 _licence)
string(STRIP "${_licence}" _licence)
string(REGEX REPLACE "\n\n" "\n.\n" _licence "${_licence}")
string(REGEX REPLACE "\n" "\n " _licence "${_licence}")
# The project's home: a placeholder until the project has a public one.
set(MIRVAN_HOMEPAGE https://github.com/mirvan/mirvan)
set(MIRVAN_HOMEPAGE_RAW https://raw.githubusercontent.com/mirvan/mirvan/main)
file(WRITE ${_pkg}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Mirvan
Upstream-Contact: The Mirvan developers <mirvan@users.noreply.github.com>
Source: ${MIRVAN_HOMEPAGE}

Files: *
Copyright: 2026 The Mirvan developers
License: BSD-3-Clause

License: BSD-3-Clause
 ${_licence}
")

# AppStream metadata, so that software centres list the program.
set(MIRVAN_APPSTREAM_ID io.github.mirvan.mirvan)
configure_file(${_pkg_src}/metainfo.xml.in ${_pkg}/${MIRVAN_APPSTREAM_ID}.metainfo.xml @ONLY)

# The changelog and the manual pages, compressed as Debian keeps them: at
# the highest level, without a time stamp.
find_program(GZIP gzip REQUIRED)
set(_gz)
foreach(_f changelog mirvan.1 mirvan-desktop.1)
  add_custom_command(OUTPUT ${_pkg}/${_f}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${_pkg_src}/${_f} ${_pkg}/${_f}
    COMMAND ${GZIP} -9nf ${_pkg}/${_f}
    DEPENDS ${_pkg_src}/${_f}
    VERBATIM)
  list(APPEND _gz ${_pkg}/${_f}.gz)
endforeach()

# PNG icons beside the SVG, for desktops and software centres that take no
# SVG, drawn from it at the theme's usual sizes.
set(_icon_sizes 16 22 24 32 48 64 128 256)
set(_pngs)
foreach(_size ${_icon_sizes})
  add_custom_command(OUTPUT ${_pkg}/icons/${_size}/128.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_pkg}/icons/${_size}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
      $<TARGET_FILE:mirvan_icon_raster> --png ${_size} ${_pkg}/icons/${_size} ${CMAKE_SOURCE_DIR}/res/icons/128.svg
    DEPENDS mirvan_icon_raster ${CMAKE_SOURCE_DIR}/res/icons/128.svg
    VERBATIM)
  list(APPEND _pngs ${_pkg}/icons/${_size}/128.png)
  install(FILES ${_pkg}/icons/${_size}/128.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
          RENAME mirvan.png)
endforeach()
add_custom_target(mirvan_package_files ALL DEPENDS ${_gz} ${_pngs})

install(FILES ${_pkg}/copyright ${_pkg}/changelog.gz DESTINATION ${MIRVAN_DOCDIR})
install(FILES ${_pkg}/mirvan.1.gz ${_pkg}/mirvan-desktop.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_pkg}/${MIRVAN_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirvan)
set(CPACK_PACKAGE_VENDOR "The Mirvan developers")
set(CPACK_PACKAGE_CONTACT "The Mirvan developers <mirvan@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MIRVAN_HOMEPAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "always-on-top bar for compiling Japanese LaTeX documents")
set(CPACK_PACKAGE_DESCRIPTION
  "Mirvan is a small, always-on-top bar for writing Japanese LaTeX documents.\n\
Drop a .tex file on it, then press one button per job: edit, compile (platex\n\
with BibTeX, the index program and re-runs decided from the files the tools\n\
leave behind), show the DVI, convert to PDF with a chosen paper size, show\n\
the PDF, or compile and convert in one go. It drives TeX Live's platex,\n\
pbibtex, mendex and dvipdfmx.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION tex)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# What the program needs to start: dpkg-shlibdeps names the libraries it
# links (Qt 6 widgets, GUI and core; the C and C++ runtime) with the
# versions it was built against. GIO, for the file associations, is loaded
# when a document is first opened, so it is named here. The icons are drawn
# at build time and need no SVG library. The TeX chain and the desktop
# helpers are what the bar drives; without them it starts but cannot build
# anything.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libglib2.0-0 (>= 2.56)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "texlive-lang-japanese, texlive-latex-base, texlive-binaries, xdg-utils, fonts-noto-cjk | fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "texlive-latex-recommended, x-terminal-emulator")
include(CPack)
