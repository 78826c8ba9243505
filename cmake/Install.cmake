# Installation for one user (make install; the prefix defaults to ~/.local) and the tarball (make
# package), both from these rules:
#   share/brindle/     the application folder: Brindle, Sorrel, appstore, Skin/, player/, Servers.ini
#                      (only when missing, so edits stay) and install_manifest.txt, the list of
#                      installed files for uninstalling. It stays writable: the programs keep their
#                      settings, page cache, downloads and the store's data in it.
#   bin/brindle        the launcher: the bundled store when needed, then Brindle
#   share/applications/, share/icons/hicolor/, share/metainfo/: desktop entry, icon, AppStream data
# Component "program" holds the application folder and the launcher, "desktop" the rest. The
# tarball holds the program only: it can be unpacked anywhere, and the desktop entry names the
# launcher by its installed path.

set(BRINDLE_ID org.brindle.Brindle)
set(app_destination share/brindle)
set(steps ${CMAKE_CURRENT_LIST_DIR}/InstallSteps.cmake)

find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert is missing: run scripts/install-deps.sh")
endif()

# The launcher, with the store helpers that make run uses copied in so that it is one file.
file(READ ${CMAKE_SOURCE_DIR}/scripts/lib/store-session.sh STORE_SESSION)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/scripts/lib/store-session.sh)
configure_file(${CMAKE_SOURCE_DIR}/scripts/launcher.sh.in ${CMAKE_BINARY_DIR}/launcher/brindle @ONLY)

install(TARGETS Brindle Sorrel appstore RUNTIME DESTINATION ${app_destination} COMPONENT program)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/Skin ${APP_DIR}/player DESTINATION ${app_destination} COMPONENT program)
install(CODE "include(\"${steps}\")
    brindle_install_if_missing(\"${CMAKE_SOURCE_DIR}/src/startup/Servers.ini\" ${app_destination})"
    COMPONENT program)
install(PROGRAMS ${CMAKE_BINARY_DIR}/launcher/brindle DESTINATION bin COMPONENT program)

# The icon: the SVG and PNGs rendered from it.
set(icon_svg ${CMAKE_SOURCE_DIR}/desktop/${BRINDLE_ID}.svg)
set(icon_pngs)
foreach(size 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${BRINDLE_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg}
        DEPENDS ${icon_svg})
    list(APPEND icon_pngs ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps COMPONENT desktop)
endforeach()
add_custom_target(icons ALL DEPENDS ${icon_pngs})
install(FILES ${icon_svg} DESTINATION share/icons/hicolor/scalable/apps COMPONENT desktop)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${BRINDLE_ID}.metainfo.xml DESTINATION share/metainfo COMPONENT desktop)
install(CODE "include(\"${steps}\")
    brindle_install_desktop_entry(\"${CMAKE_SOURCE_DIR}/desktop/${BRINDLE_ID}.desktop.in\"
        share/applications ${BRINDLE_ID}.desktop bin/brindle)"
    COMPONENT desktop)

# Last: the list of what was installed.
install(CODE "include(\"${steps}\")
    brindle_write_install_list(${app_destination}/install_manifest.txt ${app_destination}/Servers.ini)"
    COMPONENT program)

set(CPACK_PACKAGE_NAME brindle)
set(CPACK_PACKAGE_VENDOR "The Brindle developers")
set(CPACK_GENERATOR TGZ)
set(CPACK_STRIP_FILES ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL program)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
