# The Debian package: `cpack -G DEB` in a built build folder (scripts/package.sh
# does both). Its dependencies are those of the libraries the programs link
# (dpkg-shlibdeps) and what the game needs at run time besides: the fonts it
# draws with and xdg-utils for the about box's links.
set(CPACK_PACKAGE_NAME zorban)
set(CPACK_PACKAGE_VENDOR "The Zorban! developers")
set(CPACK_PACKAGE_CONTACT "The Zorban! developers <q@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "quiz game: fifteen questions up the money ladder to a million")
set(CPACK_PACKAGE_DESCRIPTION
    "A single-player quiz in the manner of a television show, in Russian.
Fifteen questions lead up a money ladder from 100 to 1 000 000 roubles, each
with four answers and sixty seconds; three lifelines (fifty-fifty, a call to a
friend, the studio audience) help once a game, and a host comments on every
step. Questions come from bases with their own top five; qabase checks them
and builds new ones from a spreadsheet.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation2, fonts-dejavu-core, fonts-dejavu-extra, fonts-wine, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
