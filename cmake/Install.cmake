# What `cmake --install` puts where: the programs in bin/; in share/ the desktop entry, the MIME
# type, the icons, the thumbnailer entry, the AppStream metadata, the manual pages and, in
# doc/tavro, the user guide and the copyright file. The
# desktop, the file manager and the icon theme find them all under the installed names of
# TAVRO_APP_ID.
include(GNUInstallDirs)

set(tavro_resources ${PROJECT_SOURCE_DIR}/resources)

if(TAVRO_GUI)
  install(TARGETS tavro tavro-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${tavro_resources}/${TAVRO_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${tavro_resources}/${TAVRO_APP_ID}.mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${TAVRO_APP_ID}.xml)
install(FILES ${tavro_resources}/tavro.thumbnailer
  DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(FILES ${tavro_resources}/${TAVRO_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The guide is the program's help file, found from the executable at ../share/doc/tavro: the
# build tree gets a copy at the same place relative to src/tavro, so Help works there too.
set(tavro_doc ${CMAKE_INSTALL_DATADIR}/doc/tavro)
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.html ${tavro_resources}/copyright
  DESTINATION ${tavro_doc})
configure_file(${PROJECT_SOURCE_DIR}/docs/guide.html ${PROJECT_BINARY_DIR}/share/doc/tavro/guide.html
  COPYONLY)

set(tavro_icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${tavro_resources}/icons/${TAVRO_APP_ID}.svg DESTINATION ${tavro_icons}/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${tavro_resources}/icons/${TAVRO_APP_ID}-${size}.png
    DESTINATION ${tavro_icons}/${size}x${size}/apps RENAME ${TAVRO_APP_ID}.png)
endforeach()

# Debian ships manual pages compressed; man reads them so everywhere. -n keeps the time stamp out
# so that two builds give the same bytes.
set(tavro_man_pages)
foreach(page tavro.1 tavro-render.1)
  set(compressed ${PROJECT_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/man/${page} > ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/man/${page} VERBATIM)
  list(APPEND tavro_man_pages ${compressed})
endforeach()
add_custom_target(tavro_man_pages ALL DEPENDS ${tavro_man_pages})
install(FILES ${tavro_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
