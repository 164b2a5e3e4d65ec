# SPDX-License-Identifier: GPL-3.0-or-later
# Installs Tresorix as a desktop program and packs it as a Debian package (`make package`):
#   bin/trxmain, bin/tresorix -> trxmain
#   share/applications/<id>.desktop       the menu entry, which also opens ".buf" files
#   share/mime/packages/<id>.xml          the project file type
#   share/metainfo/<id>.metainfo.xml      the software centres' description
#   share/icons/hicolor/{scalable,NxN}/apps/tresorix.{svg,png}
#   share/man/{,de/}man1/{trxmain,tresorix}.1.gz
#   share/doc/tresorix/copyright          the licence (GPL-3.0-or-later) in Debian's machine-readable form
# Included by the top-level CMakeLists.txt once the program's targets exist.
include(GNUInstallDirs)

# The program's name towards the desktop: launcher, type definition and metainfo are named after it, and the
# program announces it to the window system (Wayland's app id) so that its windows find their launcher.
set(TRX_APP_ID "de.tresorix.Tresorix")
set(TRX_ICON_SVG ${PROJECT_SOURCE_DIR}/data/icons/tresorix.svg)
set(TRX_ICON_SIZES 16 32 48 64 128 256)
target_compile_definitions(trx_app PRIVATE TRX_APP_ID="${TRX_APP_ID}")

set(trx_staging ${PROJECT_BINARY_DIR}/install-files)

# --- Program --------------------------------------------------------------------------------------------
install(TARGETS trxmain RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The short command for a terminal; a relative link, so that it holds under any prefix and DESTDIR.
file(MAKE_DIRECTORY ${trx_staging})
file(CREATE_LINK trxmain ${trx_staging}/tresorix SYMBOLIC)
install(FILES ${trx_staging}/tresorix DESTINATION ${CMAKE_INSTALL_BINDIR})

# --- Desktop integration --------------------------------------------------------------------------------
install(FILES ${PROJECT_SOURCE_DIR}/data/${TRX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${TRX_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/data/${TRX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# --- Licence: Debian's copyright file, where every package has it ---------------------------------------
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tresorix)

# --- Icons: the drawing as it is, and PNGs rendered from it at build time -------------------------------
add_executable(trx_render_icon ${PROJECT_SOURCE_DIR}/packaging/RenderIcon.cpp)
target_link_libraries(trx_render_icon PRIVATE Qt6::Gui Qt6::Svg trx_warnings)
set_target_properties(trx_render_icon PROPERTIES AUTOMOC OFF)

set(trx_icon_root ${trx_staging}/icons/hicolor)
set(trx_icon_pngs)
foreach(size ${TRX_ICON_SIZES})
    list(APPEND trx_icon_pngs ${trx_icon_root}/${size}x${size}/apps/tresorix.png)
endforeach()
string(REPLACE ";" ", " trx_icon_size_text "${TRX_ICON_SIZES}")
add_custom_command(
    OUTPUT ${trx_icon_pngs}
    COMMAND trx_render_icon ${TRX_ICON_SVG} ${trx_icon_root} ${TRX_ICON_SIZES}
    DEPENDS trx_render_icon ${TRX_ICON_SVG}
    COMMENT "Rendering the application icon in ${trx_icon_size_text} pixels"
    VERBATIM)
add_custom_target(trx_icons ALL DEPENDS ${trx_icon_pngs})

install(FILES ${TRX_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${trx_icon_root}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
        FILES_MATCHING PATTERN "*.png")

# --- Manual pages, English and German, compressed as Debian wants them ----------------------------------
find_program(TRX_GZIP gzip REQUIRED)
set(trx_man_pages)
foreach(language "" "de")
    if(language)
        set(source ${PROJECT_SOURCE_DIR}/data/man/${language}/trxmain.1)
        set(folder ${trx_staging}/man/${language}/man1)
        set(destination ${CMAKE_INSTALL_MANDIR}/${language}/man1)
    else()
        set(source ${PROJECT_SOURCE_DIR}/data/man/trxmain.1)
        set(folder ${trx_staging}/man/man1)
        set(destination ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
    file(MAKE_DIRECTORY ${folder})
    # The page names the program's version; gzip -n keeps the package reproducible.
    configure_file(${source} ${folder}/trxmain.1 @ONLY)
    add_custom_command(
        OUTPUT ${folder}/trxmain.1.gz
        COMMAND ${TRX_GZIP} -9 -n -f -k ${folder}/trxmain.1
        DEPENDS ${folder}/trxmain.1
        VERBATIM)
    list(APPEND trx_man_pages ${folder}/trxmain.1.gz)
    file(CREATE_LINK trxmain.1.gz ${folder}/tresorix.1.gz SYMBOLIC)
    install(FILES ${folder}/trxmain.1.gz ${folder}/tresorix.1.gz DESTINATION ${destination})
endforeach()
add_custom_target(trx_man_pages ALL DEPENDS ${trx_man_pages})

# --- A plain `cmake --install` into a live system refreshes the desktop's caches ------------------------
# Staged installs (DESTDIR, as CPack and the tests use) leave that to the package's triggers.
install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "")
        find_program(trx_update_mime update-mime-database)
        find_program(trx_update_desktop update-desktop-database)
        find_program(trx_update_icons gtk-update-icon-cache)
        set(data "${CMAKE_INSTALL_PREFIX}/share")
        if(trx_update_mime)
            execute_process(COMMAND ${trx_update_mime} "${data}/mime")
        endif()
        if(trx_update_desktop)
            execute_process(COMMAND ${trx_update_desktop} -q "${data}/applications")
        endif()
        if(trx_update_icons AND EXISTS "${data}/icons/hicolor/index.theme")
            execute_process(COMMAND ${trx_update_icons} -q -t -f "${data}/icons/hicolor")
        endif()
    endif()
]])

# --- Debian package -------------------------------------------------------------------------------------
set(TRX_PACKAGE_MAINTAINER "Tresorix-Entwickler <entwickler@tresorix.invalid>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tresorix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tresorix)
set(CPACK_PACKAGE_CONTACT ${TRX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Backup program that keeps copies of folders up to date")
set(CPACK_PACKAGE_DESCRIPTION [[Tresorix copies chosen folders into chosen backup folders and keeps the
copies up to date: new and changed files are copied, and what was deleted
at the source can be removed from the backup. A backup project (.buf file)
holds the folders, file filters and options; it is edited in the main
window (German user interface) or run unattended from a launcher, cron or
a systemd timer.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt runtime libraries (and the C++ runtime) come from dpkg-shlibdeps, read off the program itself, so
# the package asks for exactly the libraries it links, never for the -dev packages of the build.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked, but wanted at run time: German texts of Qt's standard buttons, metric-compatible
# stand-ins for the fonts the windows name, and xdg-open, which opens the protocol from a notification. Native Wayland windows are only suggested: the plugin brings
# Qt Quick along, and without it the windows open through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation2, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
include(CPack)
