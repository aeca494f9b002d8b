# What `make install` puts where, and the Debian package `make package` builds.
include(GNUInstallDirs)

set(DRMQ_SAMPLE_DIR ${CMAKE_INSTALL_DATADIR}/drmquodra)
# An installed program finds its samples relative to its own folder, so the
# tree works under any prefix.
file(RELATIVE_PATH samples_from_program ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${DRMQ_SAMPLE_DIR})
target_compile_definitions(drmq_core PRIVATE DRMQ_SAMPLES_FROM_PROGRAM="${samples_from_program}")

set(app_id org.drmquodra.DRMQuodra)
configure_file(${CMAKE_SOURCE_DIR}/data/${app_id}.metainfo.xml.in ${CMAKE_BINARY_DIR}/${app_id}.metainfo.xml @ONLY)

# The icon's bitmap sizes are drawn from the one SVG at build time.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_svg ${CMAKE_SOURCE_DIR}/data/drmquodra.svg)
set(icon_pngs)
foreach(size 48 256)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}/drmquodra.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg}
    DEPENDS ${icon_svg} VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(drmq_icons ALL DEPENDS ${icon_pngs})

install(TARGETS drmquodra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/${app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/${app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/data/DRMSchedule.ini ${CMAKE_SOURCE_DIR}/data/wwv.txt DESTINATION ${DRMQ_SAMPLE_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/drmquodra)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME drmquodra)
set(CPACK_PACKAGE_VENDOR "DRM Quodra")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "schedule, receiver control and reception log for DRM listeners")
set(CPACK_PACKAGE_DESCRIPTION [[DRM Quodra shows the Digital Radio Mondiale broadcasts on air now in a
coloured, filtered and sortable schedule grid, remote-controls one of 18
receivers, logs the signal level per minute while telling the DRM decoder
program to log too, and shows the current space-weather figures.]])
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "DRM Quodra developers <drmquodra@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
# The packages of the libraries the program links, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
