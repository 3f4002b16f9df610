# A Debian package of the program that depends on Debian's Qt 6 packages.
set(CPACK_PACKAGE_NAME "corvane")
set(CPACK_PACKAGE_VENDOR "The Corvane developers")
set(CPACK_PACKAGE_CONTACT "Corvane developers <dev@corvane.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Launcher and configurator for Half-Life and Team Fortress Classic")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://corvane.example.org/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Corvane")
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The platform plugins are not found by the library scan; French dialog buttons come from the
# translations package.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, wine")
set(CPACK_STRIP_FILES ON)
include(CPack)
