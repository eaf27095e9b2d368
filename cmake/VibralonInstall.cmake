# Installs the tuner as a desktop application and packages it for Debian with CPack.
#   cmake --install BUILD [--prefix DIR]      program, help, desktop entry, icons, metainfo
#   cmake --build BUILD --target package     BUILD/package/vibralon_VERSION_ARCH.deb
# Everything installed belongs to the component `vibralon`, and the package holds only that
# component: tests, tools and benchmarks are never installed.
include(GNUInstallDirs)

set(VIBRALON_APP_ID org.vibralon.Vibralon)
set(VIBRALON_SCREENSHOT_URL "https://vibralon.example.org/docs/window.png"
    CACHE STRING "Web address of docs/window.png, named as the screenshot in the AppStream metainfo")
set(VIBRALON_PACKAGE_MAINTAINER "Vibralon developers <vibralon@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(_vibralon_dist ${PROJECT_SOURCE_DIR}/dist)
set(_vibralon_staged ${PROJECT_BINARY_DIR}/dist)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(TARGET vibralon)
    install(TARGETS vibralon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT vibralon)
else()
    message(WARNING "No `vibralon` target: the install rules and the package lack the program")
endif()
# The readings in a terminal, beside the window, with its manual page (compressed as Debian's
# policy asks).
if(TARGET vibralon-listen)
    install(TARGETS vibralon-listen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
            COMPONENT vibralon)
    configure_file(${_vibralon_dist}/debian/vibralon-listen.1
                   ${_vibralon_staged}/vibralon-listen.1 @ONLY)
    execute_process(COMMAND gzip -9nc ${_vibralon_staged}/vibralon-listen.1
                    OUTPUT_FILE ${_vibralon_staged}/vibralon-listen.1.gz
                    COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${_vibralon_staged}/vibralon-listen.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT vibralon)
endif()

# The program finds its help as help/guide.htm under its working directory, which the desktop
# entry sets to this folder.
install(FILES ${PROJECT_SOURCE_DIR}/help/guide.htm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vibralon/help COMPONENT vibralon)

install(CODE "
    set(VIBRALON_APP_ID \"${VIBRALON_APP_ID}\")
    set(VIBRALON_DESKTOP_TEMPLATE \"${_vibralon_dist}/${VIBRALON_APP_ID}.desktop.in\")
    set(VIBRALON_STAGE_DIR \"${_vibralon_staged}\")
    set(VIBRALON_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    set(VIBRALON_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    include(\"${_vibralon_dist}/install-desktop-entry.cmake\")"
    COMPONENT vibralon)

# The terms of the program and of what it compiles in, and its changelog, where Debian keeps
# every package's (the changelog compressed as Debian's policy asks: gzip -9n).
configure_file(${_vibralon_dist}/debian/changelog.in ${_vibralon_staged}/changelog @ONLY)
execute_process(COMMAND gzip -9nc ${_vibralon_staged}/changelog
                OUTPUT_FILE ${_vibralon_staged}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${_vibralon_dist}/debian/copyright ${_vibralon_staged}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vibralon COMPONENT vibralon)
# Lintian's findings we accept, each with its reason.
install(FILES ${_vibralon_dist}/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vibralon
        COMPONENT vibralon)

# 32 x 32 is MAINICON's own pixels; the larger sizes are the same drawing at their size.
install(DIRECTORY ${_vibralon_dist}/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons COMPONENT vibralon)

configure_file(${_vibralon_dist}/${VIBRALON_APP_ID}.metainfo.xml.in
               ${_vibralon_staged}/${VIBRALON_APP_ID}.metainfo.xml @ONLY)
install(FILES ${_vibralon_staged}/${VIBRALON_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT vibralon)

# Redraws dist/icons/ and the Windows icon, dist/windows/vibralon.ico, from the generator's icon
# drawing.
if(TARGET vibralon-skingen)
    add_custom_target(app-icons
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                $<TARGET_FILE:vibralon-skingen> --app-icons ${_vibralon_dist}/icons/hicolor
                ${VIBRALON_APP_ID}
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                $<TARGET_FILE:vibralon-skingen> --windows-icon ${_vibralon_dist}/windows/vibralon.ico
        DEPENDS vibralon-skingen
        COMMENT "Drawing the desktop icons into dist/icons and the Windows icon into dist/windows"
        VERBATIM)
endif()

# --- Debian package ------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vibralon)
set(CPACK_PACKAGE_VENDOR "Vibralon developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "guitar tuner for the desktop")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vibralon listens to the default sound input and shows the note it hears, how\n\
far off that note the string is on an eleven-bar meter and, once a string is\n\
picked, whether to tune it up or down. It keeps no settings and writes no\n\
files. vibralon-listen prints the same readings in a terminal, as the words\n\
the window gives a screen reader or as JSON for programs.")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};vibralon;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Install with DESTDIR so the install-time CMAKE_INSTALL_PREFIX is /usr, which the desktop
# entry's paths are made from.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VIBRALON_PACKAGE_MAINTAINER}")
# Qt 6 Widgets and GUI and libjpeg-turbo, as dpkg-shlibdeps finds them in the program.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libpulse the program loads itself as it starts (so dpkg-shlibdeps cannot see it): every
# function it loads is in the library since 0.99.1, as the library's symbols file says.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libpulse0 (>= 0.99.1)")
# Opening the help needs xdg-open; Wayland sessions need Qt's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
