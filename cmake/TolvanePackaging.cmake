# The Debian package, built by `cpack -G DEB` in a configured build tree.
# It holds the install component "tolvane" (packaging/CMakeLists.txt) only.

set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VENDOR "Tolvane")
set(CPACK_PACKAGE_CONTACT "Tolvane maintainers <maintainers@users.noreply.c-seed-050d26f0.example>")
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
set(CPACK_PACKAGE_HOMEPAGE_URL "")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};tolvane;/")

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
# Permissions and owners as Debian wants them, whatever the build tree had.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
