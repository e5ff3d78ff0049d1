# Installation layout for the desktop and the Debian package.
#
# `cmake --install` puts the program and its desktop launcher in bin/, a
# desktop entry (it claims no file type, so installing the package makes
# Mirvan nobody's default application; "Open with" passes the file on the
# command line), the icon in the hicolor theme, and the user manual in the
# documentation folder. CPack turns the same layout into a .deb.
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirvan)
set(CPACK_PACKAGE_VENDOR "Mirvan developers")
set(CPACK_PACKAGE_CONTACT "Mirvan developers <mirvan@users.noreply.github.com>")
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
