# A Debian package of the program that depends on Debian's Qt 6 packages.
set(CPACK_PACKAGE_NAME "corvane")
set(CPACK_PACKAGE_VENDOR "The Corvane developers")
set(CPACK_PACKAGE_CONTACT "Corvane developers <dev@corvane.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Launcher and configurator for Half-Life and Team Fortress Classic")
# The long description, shown under the summary (CPack indents it and marks the blank line).
set(CPACK_PACKAGE_DESCRIPTION "Corvane starts Half-Life and Team Fortress Classic with the game type, map and
options you pick, writes a deathmatch server configuration file, composes an
advanced command line and joins a server by address and port. A first-use
wizard asks once where the game lives. Its windows are in French.

The game itself is not included. A native game is started directly; a Windows
copy of the game (hl.exe) is started through Wine.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://corvane.example.org/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Corvane")
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The platform plugins are not found by the library scan; French dialog buttons come from the
# translations package. Most Linux players start a native game, so Wine is only suggested.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
set(CPACK_STRIP_FILES ON)

# Debian wants the copyright file and the changelog (compressed, no time stamp inside) in the
# package's documentation folder.
if(UNIX AND NOT APPLE)
    include(GNUInstallDirs)
    set(_corvane_docdir "${CMAKE_INSTALL_DATADIR}/doc/corvane")
    set(_corvane_changelog "${CMAKE_CURRENT_BINARY_DIR}/changelog.gz")
    execute_process(COMMAND gzip -9nc "${CMAKE_SOURCE_DIR}/resources/debian/changelog"
                    OUTPUT_FILE "${_corvane_changelog}" COMMAND_ERROR_IS_FATAL ANY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 "${CMAKE_SOURCE_DIR}/resources/debian/changelog")
    install(FILES "${CMAKE_SOURCE_DIR}/resources/debian/copyright" "${_corvane_changelog}"
            DESTINATION "${_corvane_docdir}")
endif()
include(CPack)
