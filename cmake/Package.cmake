# The Debian package: cpack -G DEB --config build/CPackConfig.cmake (see README).
# It installs under /usr with the layout of Install.cmake; its programs carry no debug
# information, and its library dependencies are computed by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lmcard)
set(CPACK_PACKAGE_VENDOR "Lumo card suite")
set(CPACK_PACKAGE_CONTACT "Lumo card suite developers <lmcard@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Greeting card authoring suite for Simplified Chinese")
set(CPACK_PACKAGE_DESCRIPTION "Design electronic greeting cards on screen and turn them into card files,
self-running card programs or Flash movies with a web page, and mail them to friends.
Includes the card maker (lmcard), the Flash card wizard (lmflashcard), the card players
and the command-line companion cardtool.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found by dpkg-shlibdeps: Qt's platform plugins, the CJK fonts the cards are drawn with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-zenhei | fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-good, xdg-utils")
# The private folder holds Flash.dll, which only our programs load.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS /usr/lib/lmcard)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/;/\\\\.cache/")
include(CPack)
