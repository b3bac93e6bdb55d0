# Installation under CMAKE_INSTALL_PREFIX and the Debian package `make deb` builds with CPack:
# the programs, the module where they look for it (PREFIX/lib/zelta), the man page (made by
# `make man` before packaging), bash completion, the desktop entry and its icon.
install(TARGETS zelta zelta-desktop RUNTIME DESTINATION bin)
install(TARGETS bookmarks LIBRARY DESTINATION lib/zelta)
install(FILES ${CMAKE_BINARY_DIR}/zelta.1.gz DESTINATION share/man/man1 OPTIONAL)
install(FILES ${CMAKE_SOURCE_DIR}/zelta/cli/zelta_completion.bash
        DESTINATION share/bash-completion/completions RENAME zelta)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zelta-desktop.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zelta-desktop.svg
        DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelta)
set(CPACK_PACKAGE_VERSION ${ZELTA_VERSION})
set(CPACK_PACKAGE_CONTACT "Zelta developers <zelta@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PDF application with the Bookmarks tools for PDF outlines")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "PDF application with the Bookmarks tools for PDF outlines\n"
    " zelta runs the Bookmarks operations on PDF files from the command line: generate,\n"
    " edit, check, import and export bookmark trees. zelta-desktop is the same in a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # zelta_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)   # Depends from dpkg-shlibdeps
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
