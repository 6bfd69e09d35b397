# What `cmake --install` puts where, and the Debian package built from it
# by `cpack -G DEB` (scripts/package). The program finds the path library
# and the help relative to its own folder (src/app/CMakeLists.txt), so the
# tree may be installed under any prefix.
include(GNUInstallDirs)

install(TARGETS vantrel vantrel_diff RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS pathmix LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/vantrel NAMELINK_SKIP)

set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "Quellan Software")
set(CPACK_PACKAGE_CONTACT "Quellan Software <support@quellan.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compare two text files side by side")
set(CPACK_PACKAGE_DESCRIPTION "Vantrel shows two text files side by side in two aligned panes, with the
lines that differ coloured, a difference bar, navigation between differences,
a detail pane that marks the characters that differ, bookmarks, find and
printing. The vantrel-diff command compares two files on the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quellan.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
# Dependencies are those of the installed binaries, as dpkg-shlibdeps finds
# them, and Qt's platform plugins, which Qt only recommends but without
# which no window opens. The fonts give the grids Courier New's metrics,
# xdg-utils opens files and addresses in the user's programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, xdg-utils")
include(CPack)
