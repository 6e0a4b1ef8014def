# Installation and the Debian package (`make package`, CPack's DEB generator):
# the three programs, the bundled data korvel-server init-demo builds its
# database from, a desktop entry and icon for korvel, man pages made from
# the programs' --help, and the user guide when it exists.
include(GNUInstallDirs)

install(TARGETS korvel korvel-cli korvel-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# init-demo looks for bin/../share/korvel/data first.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/korvel/data)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/korvel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/korvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/user-guide.md)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# Man pages from each program's --help, gzipped as Debian keeps them. Built
# by the `man_pages` target (make package builds it), not by every build.
find_program(HELP2MAN help2man)
if(HELP2MAN)
    set(KORVEL_MAN_PAGES)
    foreach(program korvel-cli korvel-server)
        if(program STREQUAL "korvel-cli")
            set(summary "Korvel from a terminal: synchronise A-share data, breed and report trading strategies")
        else()
            set(summary "the data server Korvel synchronises from, and its importers")
        endif()
        set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
        add_custom_command(
            OUTPUT ${page}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
            COMMAND ${HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
                    --name=${summary} --output=${page} $<TARGET_FILE:${program}>
            COMMAND gzip -n -9 -f ${page}
            DEPENDS ${program}
            COMMENT "Man page of ${program}")
        list(APPEND KORVEL_MAN_PAGES ${page}.gz)
    endforeach()
    add_custom_target(man_pages DEPENDS ${KORVEL_MAN_PAGES})
    install(FILES ${KORVEL_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 OPTIONAL)
endif()

# `make package` builds exactly what it installs, not the tests and
# benchmarks of the build folder.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Korvel")
set(CPACK_PACKAGE_CONTACT "Korvel developers <korvel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A-share data, K-line charts and strategies bred by gene expression programming")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Korvel keeps a local database of Chinese A-share stocks with daily bars and dividend records, "
    "synchronises it from a data server, shows K-line charts with seven indicators and breeds trading "
    "strategies with gene expression programming. The package holds the desktop program korvel, the "
    "command-line program korvel-cli and the data server korvel-server with real sample data.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps (dpkg-dev) reading the programs;
# the CJK fonts are what the charts need to show Chinese.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
include(CPack)
