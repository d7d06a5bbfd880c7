# cmake -DMANIFEST=build/install_manifest.txt -P Uninstall.cmake
# Removes every file the last install put in place (the manifest holds their paths without
# DESTDIR: give the same DESTDIR as the install), then refreshes the desktop's caches the way the
# install did.
if(NOT EXISTS "${MANIFEST}")
    message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} is missing (run the install first)")
endif()
file(STRINGS "${MANIFEST}" installed)
set(datadir "")
foreach(entry IN LISTS installed)
    set(file "$ENV{DESTDIR}${entry}")
    if(IS_SYMLINK "${file}" OR EXISTS "${file}")
        message(STATUS "Removing ${file}")
        file(REMOVE "${file}")
    endif()
    if(file MATCHES "^(.*)/applications/[^/]+\\.desktop$")
        set(datadir "${CMAKE_MATCH_1}")
    endif()
endforeach()
if(datadir AND "$ENV{DESTDIR}" STREQUAL "")
    include(${CMAKE_CURRENT_LIST_DIR}/RefreshDesktopCaches.cmake)
    vd_refresh_desktop_caches("${datadir}")
endif()
