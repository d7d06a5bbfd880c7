# What `cmake --install` (and `make install`) puts in place: the program, its desktop entry,
# AppStream metainfo, icons in the hicolor theme, the MIME type of its playlists and its man page.
# Every file that names the application carries the one id written in app/AppId.h.
include(GNUInstallDirs)

file(STRINGS ${PROJECT_SOURCE_DIR}/app/AppId.h vd_app_id_line REGEX "kAppId = \"")
string(REGEX REPLACE ".*kAppId = \"([^\"]+)\".*" "\\1" VD_APP_ID "${vd_app_id_line}")
if(NOT VD_APP_ID MATCHES "^[A-Za-z][A-Za-z0-9_-]*(\\.[A-Za-z][A-Za-z0-9_-]*)+$")
    message(FATAL_ERROR "the application id could not be read from app/AppId.h")
endif()
# The playlists' type, a kind of plain text.
set(VD_PLAYLIST_TYPE "audio/x-vodezaru-playlist")
set(VD_ICON_SIZES 16 22 24 32 48 64 128 256)

set(vd_data ${CMAKE_BINARY_DIR}/data)
configure_file(data/vodezaru.desktop.in ${vd_data}/${VD_APP_ID}.desktop @ONLY)
configure_file(data/vodezaru.metainfo.xml.in ${vd_data}/${VD_APP_ID}.metainfo.xml @ONLY)
configure_file(data/vodezaru-mime.xml.in ${vd_data}/${VD_APP_ID}.xml @ONLY)
configure_file(data/vodezaru.1.in ${vd_data}/vodezaru.1 @ONLY)

install(TARGETS vodezaru RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${vd_data}/${VD_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${vd_data}/${VD_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${vd_data}/${VD_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(size IN LISTS VD_ICON_SIZES)
    install(FILES resources/icons/vodezaru-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${VD_APP_ID}.png)
endforeach()
install(FILES ${vd_data}/vodezaru.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Installed for real (not staged into DESTDIR), the desktop's caches learn of the new files.
install(CODE "
    if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
        include(${PROJECT_SOURCE_DIR}/cmake/RefreshDesktopCaches.cmake)
        vd_refresh_desktop_caches(\"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
    endif()")

add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
            -P ${PROJECT_SOURCE_DIR}/cmake/Uninstall.cmake
    COMMENT "Removing the installed files")
