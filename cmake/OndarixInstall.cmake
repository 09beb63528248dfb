# Installing the program and its user manual.
include(GNUInstallDirs)

# The manual sits beside the executable in the build tree, so Help -> Contents
# works from build/ondarix, and in <prefix>/share/ondarix once installed.
configure_file(${PROJECT_SOURCE_DIR}/docs/manual.html ${PROJECT_BINARY_DIR}/ondarix-manual.html
               COPYONLY)

install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.html DESTINATION ${CMAKE_INSTALL_DATADIR}/ondarix
        RENAME ondarix-manual.html)
