# What "cmake --install" places, in two components, and the Debian packages
# CPack makes of them: "vokabron" (component game) and "vokabron-server"
# (component server).  packaging/build-debs.sh builds both.
#
# Every destination is relative to the install prefix, so the same rules
# serve a copy installed by hand under /usr/local and the packages, which
# install under /usr.  Files the system keeps elsewhere (the club server's
# configuration in /etc, its user and data folder) are made by the server
# package's maintainer scripts.
include(GNUInstallDirs)

set(VOKABRON_PACKAGE_MAINTAINER "Vokabron developers <packages@vokabron.example.org>"
    CACHE STRING "Maintainer named in the Debian packages: \"Name <address>\"")
set(VOKABRON_PACKAGE_RELEASE 1 CACHE STRING "Debian revision of the packages")
set(package_version ${PROJECT_VERSION}-${VOKABRON_PACKAGE_RELEASE})

# The man pages and the Debian changelogs are installed compressed, as the
# system keeps them; -n leaves no name or time stamp, so a rebuild gives
# the same bytes.
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
set(packaging_outputs)
function(vokabron_gzip source target)
  add_custom_command(
    OUTPUT ${target}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target}
    COMMAND gzip -9nf ${target}
    DEPENDS ${source}
    VERBATIM)
  set(packaging_outputs ${packaging_outputs} ${target}.gz PARENT_SCOPE)
endfunction()
foreach(package vokabron vokabron-server)
  set(PACKAGE ${package})
  set(VERSION ${package_version})
  set(MAINTAINER ${VOKABRON_PACKAGE_MAINTAINER})
  configure_file(packaging/debian/changelog.in ${packaging_out}/${package}/changelog.Debian.in @ONLY)
  vokabron_gzip(${packaging_out}/${package}/changelog.Debian.in ${packaging_out}/${package}/changelog.Debian)
endforeach()
vokabron_gzip(${PROJECT_SOURCE_DIR}/packaging/man/vokabron.6 ${packaging_out}/vokabron.6)
vokabron_gzip(${PROJECT_SOURCE_DIR}/packaging/man/vokabron-server.8 ${packaging_out}/vokabron-server.8)
add_custom_target(packaging_files ALL DEPENDS ${packaging_outputs})

# ---- The game -----------------------------------------------------------
install(TARGETS vokabron RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT game)
# A system-wide install keeps its data in a per-user folder, seeded from here.
install(FILES resources/Vokabron.clb DESTINATION ${CMAKE_INSTALL_DATADIR}/vokabron COMPONENT game)
# The help pages the game carries, also for a club server to publish
# (its help_dir setting).
install(DIRECTORY resources/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vokabron/help COMPONENT game)
install(FILES packaging/org.vokabron.Vokabron.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT game)
install(FILES packaging/org.vokabron.Vokabron.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT game)
install(FILES resources/png/Logo.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps
        RENAME org.vokabron.Vokabron.png COMPONENT game)
install(FILES resources/png/GIcon048.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME org.vokabron.Vokabron.png COMPONENT game)
install(FILES ${packaging_out}/vokabron.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
install(FILES packaging/debian/copyright ${packaging_out}/vokabron/changelog.Debian.gz
              resources/CREDITS.md resources/font/OFL.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vokabron COMPONENT game)

# ---- The club server ----------------------------------------------------
install(TARGETS vokabron-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT server)
# systemd reads units from <prefix>/lib/systemd/system for both /usr and
# /usr/local (not the multiarch library folder).
install(FILES packaging/vokabron-server.service packaging/vokabron-server@.service DESTINATION lib/systemd/system
        COMPONENT server)
# The configuration the installation copies to /etc when there is none, and
# the nginx site of a club that runs several processes (an example to copy:
# its upstream block names the club's own machines).
install(FILES packaging/vokabron-server.conf packaging/nginx-vokabron.conf
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vokabron-server COMPONENT server)
install(FILES ${packaging_out}/vokabron-server.8.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man8 COMPONENT server)
install(FILES packaging/debian/copyright ${packaging_out}/vokabron-server/changelog.Debian.gz server/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vokabron-server COMPONENT server)

# ---- The Debian packages ------------------------------------------------
# Installing (and so packaging) takes what is built and builds nothing
# else: build-debs.sh builds the two programs, not every test.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vokabron)
set(CPACK_PACKAGE_VENDOR "Vokabron developers")
set(CPACK_PACKAGE_CONTACT ${VOKABRON_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game server)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VOKABRON_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VOKABRON_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries are read off the programs by dpkg-shlibdeps; what is listed
# here by hand is what no program links: fonts the game names and looks up
# through fontconfig, and the server scripts' adduser.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_GAME_PACKAGE_NAME vokabron)
# Not "games": that section wants its programs in /usr/games, which the
# PATH of a systemd user session (where the desktop starts programs from
# their entries) does not hold; the entry's bare Exec=vokabron is found in
# /usr/bin in every session.
set(CPACK_DEBIAN_GAME_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, qt6-translations-l10n")
set(CPACK_DEBIAN_GAME_DESCRIPTION "Russian word puzzle
Vokabron is a Russian-language word-puzzle game. A game is 20 deals; each
deal hides a one-to-three-word answer on a board under its theme, and the
player uncovers it letter by letter from a 32-letter Cyrillic keyboard.
Unfinished games are kept for five local players, finished games enter a
local top ten, and an online club (package vokabron-server) keeps accounts,
rating games and a world top ten.")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME vokabron-server)
set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION net)
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_SERVER_DESCRIPTION "club server of the Vokabron word puzzle
The server plays every remote role of the game Vokabron on one port: club
accounts, rating games, member cards and photos, the world top ten and its
chat, statistics, the remote configuration and the news page. Its state
lives in one SQLite database; passwords are kept as Argon2id hashes.
The package brings a systemd unit, the system user vokabron and the data
folder /var/lib/vokabron-server, which stays when the package is removed.")
set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/debian/postinst
    ${PROJECT_SOURCE_DIR}/packaging/debian/prerm
    ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)

include(CPack)
