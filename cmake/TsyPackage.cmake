# The Debian package: `cpack -G DEB` in a build folder packs what the install
# rules (packaging/) put under /usr. Its Depends are the shared libraries the
# programs link (found by dpkg-shlibdeps) and what they load by name: the
# General MIDI SoundFont of the built-in synthesiser and the display's font.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaly32)
set(CPACK_PACKAGE_VENDOR "The Tessaly32 developers")
set(CPACK_PACKAGE_CONTACT "The Tessaly32 developers <developers@tessaly32.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://tessaly32.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "MML music compiler and MIDI player with a live track display")
# The long description, in lines that fit the package tools' 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Tessaly32 compiles music written as plain text in an MML dialect (.mus)"
  "into a compact object image (.emd), plays it in real time through a system"
  "MIDI port or a built-in FluidSynth synthesiser while a 640x480 window shows"
  "every track live, and exports a Standard MIDI File. The tsy command-line"
  "tool compiles, exports, plays and renders to WAV from a terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fluid-soundfont-gm, fonts-ipafont-gothic")
# xdg-mime tells the desktop program whether the desktop has an editor for sources.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
