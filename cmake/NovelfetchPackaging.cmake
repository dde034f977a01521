# Installing novelfetch the way a desktop expects (the program, its icons in the hicolor
# theme, a menu entry) and packing that into a .deb with CPack. scripts/package builds it.
include(GNUInstallDirs)

install(TARGETS novelfetch novelfetch-demo-site RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(nf_icon_dir "${PROJECT_SOURCE_DIR}/assets/icons")
foreach(size 16 24 32 48 64 128 256)
  install(FILES "${nf_icon_dir}/novelfetch-${size}.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
          RENAME novelfetch.png)
endforeach()
install(FILES "${nf_icon_dir}/novelfetch.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/novelfetch.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME novelfetch)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "novelfetch developers <novelfetch@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' packages come from the binaries themselves; the Chinese texts want a font
# that holds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program opens libcurl itself when it first needs it (app/libcurl_on_demand.cpp), so
# shlibdeps does not see it; 7.84 is the first that sets itself up safely beside other threads.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.84)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-cjk)
# The summary line comes from the project's description; this is the text under it.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "novelfetch searches a web-novel site by keyword, lists the books it finds,\n"
       "works out each book's whole-text download address and saves the book into\n"
       "a folder of your choice. It opens a window, or does the same job on the\n"
       "command line; novelfetch --demo runs it against a built-in demo site.")
include(CPack)
