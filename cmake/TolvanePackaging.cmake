# The Debian package, built by `cpack -G DEB` in a configured build tree.
# It holds the install component "tolvane" (packaging/CMakeLists.txt) and
# the Debian-only files below, nothing else.

set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VENDOR "Tolvane")
set(CPACK_PACKAGE_CONTACT "Tolvane developers <tolvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "system-tray POP3 mail checker with a Japanese interface")
set(CPACK_PACKAGE_DESCRIPTION
"Tolvane sits in the system tray and polls up to four POP3 mailboxes every
ten minutes, and whenever asked. It reads the header summary of each waiting
message without downloading its body or deleting anything, and lists account,
subject and sender in a small always-on-top notification window. Messages
whose subject holds a word of the NG-word list are left out.

The interface is Japanese. Mail headers in ISO-2022-JP are decoded by the
program's own Japanese text codec, which the package also ships as the
command-line filter jconvert: JIS, Shift_JIS and EUC-JP detection and
conversion, line ends, Base64, MIME header words, uuencode and BinHex.")
set(CPACK_STRIP_FILES ON)

include(GNUInstallDirs)

# Files only a Debian package has, in a component of their own that a plain
# `cmake --install` leaves out: the changelog Debian wants (one entry for
# this version; SOURCE_DATE_EPOCH, when set, fixes its date) and the
# lintian override for the sample NG-word list.
set(_deb_doc ${CMAKE_INSTALL_DATADIR}/doc/tolvane)
string(TIMESTAMP _deb_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/deb/changelog @ONLY CONTENT
"tolvane (${PROJECT_VERSION}) unstable; urgency=medium

  * Tolvane ${PROJECT_VERSION}.

 -- ${CPACK_PACKAGE_CONTACT}  ${_deb_date}
")
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/deb/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/deb/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/deb/changelog
  COMMENT "Compressing the package changelog"
  VERBATIM)
add_custom_target(tolvane_deb_files ALL DEPENDS ${CMAKE_BINARY_DIR}/deb/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/deb/changelog.gz
  DESTINATION ${_deb_doc} COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/../packaging/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tolvane COMPONENT deb EXCLUDE_FROM_ALL)

set(CPACK_INSTALL_CMAKE_PROJECTS
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};tolvane;/"
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};deb;/")

set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Library dependencies come from the binaries; these are what the program
# needs at run time without linking it: the theme holding the new-mail sound,
# fonts with Japanese glyphs for the interface, and Liberation Sans, which
# stands in for the font the windows were laid out with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "sound-theme-freedesktop, fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic | fonts-takao-gothic, fonts-liberation2")
# The control files (md5sums, any scripts) with the modes Debian wants.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
