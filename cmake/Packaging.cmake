# `cpack -G DEB` in the build directory makes tavro_<version>_<arch>.deb holding what
# `cmake --install` installs, under /usr. Its dependencies come from the libraries the programs
# link (dpkg-shlibdeps). No maintainer script: Debian's triggers refresh the MIME, desktop and
# icon caches when files land in their folders. The project has no address or web site of its
# own yet: the Maintainer field names the project alone and there is no Homepage field; whoever
# publishes the package sets TAVRO_DEB_MAINTAINER to "Name <address>" (a name of its own, so a
# build directory configured before keeps no stale address).
set(TAVRO_DEB_MAINTAINER "Tavro developers"
  CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME tavro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for Mivo doll sets")
set(CPACK_PACKAGE_DESCRIPTION
  "Tavro opens Mivo doll sets (a .cnf configuration naming palettes and cel images, or an LZH
or ZIP archive holding one), shows them zoomed in one window and lets you drag the objects, switch
sets and colours and watch their scripts animate. tavro-render draws a set to a PNG without a
window and gives file managers previews of sets.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TAVRO_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program's messages are Japanese; without a font for them its boxes show empty squares.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-vlgothic)

include(CPack)
