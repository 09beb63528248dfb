# Installing like a Linux desktop program: the two executables, the user
# manual, an icon, the desktop entry and the measurement file types, and a
# .deb of all of it through CPack.
include(GNUInstallDirs)

# The manual sits beside the executable in the build tree, so Help -> Contents
# works from build/ondarix, and in <prefix>/share/ondarix once installed.
configure_file(${PROJECT_SOURCE_DIR}/docs/manual.html ${PROJECT_BINARY_DIR}/ondarix-manual.html
               COPYONLY)

install(TARGETS ondarix-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.html DESTINATION ${CMAKE_INSTALL_DATADIR}/ondarix
        RENAME ondarix-manual.html)
if(TARGET ondarix)
  install(TARGETS ondarix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/dist/ondarix.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/dist/ondarix.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${ONDARIX_MIME_XML}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ondarix.xml)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ondarix)
set(CPACK_PACKAGE_VENDOR "KELVO")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Wave flume measurements: viewer, analyses and batch tool")
set(CPACK_PACKAGE_DESCRIPTION
    "Ondarix opens multi-channel wave flume measurements (.INT, .M11, .TXT, .WAV, .csv, .mat, \
.h5), shows them as stacked plots and analyses blocks of them: Fourier transform, Kalman \
decomposition, approximation by damped sinusoids, zero-crossing wave statistics, spectra and \
reflection; it synthesises wave-maker signals and irregular sea drives. ondarix-batch and the \
Python module ondarix do the same from the command line and from Python.")
set(CPACK_PACKAGE_CONTACT "Ondarix maintainers <ondarix@kelvo.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kelvo.invalid/ondarix")
# The Debian packages of the libraries the executables link, Qt's platform
# plugins for a display, and the tools whose triggers register the desktop
# entry and the file types.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libfftw3-double3, libmatio11, libhdf5-103-1, zlib1g, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), \
libqt6widgets6 (>= 6.4), libqt6svg6 (>= 6.4), qt6-qpa-plugins, shared-mime-info, \
desktop-file-utils, hicolor-icon-theme")
# The Python package goes to /usr/lib/python3/dist-packages, where Debian's
# python3 finds it; it is built for this interpreter's version and imports
# numpy, pandas and dask.
if(TARGET _ondarix)
  math(EXPR python_next_minor "${Python_VERSION_MINOR} + 1")
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
         ", python3 (>= ${Python_VERSION_MAJOR}.${Python_VERSION_MINOR}), "
         "python3 (<< ${Python_VERSION_MAJOR}.${python_next_minor}), python3-numpy, python3-pandas, "
         "python3-dask")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
