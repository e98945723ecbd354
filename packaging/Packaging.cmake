# The Debian package, built by `cpack` or the `package` target from what the
# install rules put under /usr. Included once from the top-level CMakeLists.txt.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvelo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tarvelo developers")
set(TARVELO_PACKAGE_CONTACT "The Tarvelo developers <tarvelo@example.org>"
    CACHE STRING "Maintainer written into the Debian package")
set(CPACK_PACKAGE_CONTACT "${TARVELO_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "fills software directories' submission forms from PAD files")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvelo is for software authors who list their program on many software\n"
    "download directories. It reads up to three programs' descriptions from\n"
    "their PAD files, carries a list of directory submission pages and opens\n"
    "them in an embedded browser. A field button, a numeric-keypad key or the\n"
    "right-click menu pastes the program's name, version, addresses,\n"
    "descriptions or keywords into the focused box of the web form.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build keeps its debug information; the package does not need it.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tarvelo.github.io/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps finds the libraries the executable links, and with them the
# browser's helper process. What is loaded at run time without a link is named
# here: Qt's platform plugins (libqt6gui6 only recommends them), the SQLite
# driver of the campaign store (a Qt SQL plugin) and the faces that stand in
# for the window's fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6sql6-sqlite, fonts-dejavu-core, fonts-comic-neue")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-extra")

# `package_source` would otherwise take the build folders along.
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build[^/]*/" "/fuzz-out/")

include(CPack)
