# What `cmake --install` puts under the prefix, and the Debian package CPack makes of it.
include(GNUInstallDirs)

install(TARGETS flowlattice RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manual states the program's version. Debian installs manual pages compressed; -n leaves the
# build time out of the package.
configure_file(${CMAKE_SOURCE_DIR}/data/flowlattice.1.in ${CMAKE_BINARY_DIR}/flowlattice.1 @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/flowlattice.1.gz
  COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/flowlattice.1 > ${CMAKE_BINARY_DIR}/flowlattice.1.gz
  DEPENDS ${CMAKE_BINARY_DIR}/flowlattice.1
  VERBATIM)
add_custom_target(manual ALL DEPENDS ${CMAKE_BINARY_DIR}/flowlattice.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/flowlattice.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES data/flowlattice.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/flowlattice-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME flowlattice.xml)

set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(icon flowlattice:apps application-x-flowlattice+xml:mimetypes)
  string(REPLACE ":" ";" icon ${icon})
  list(GET icon 0 name)
  list(GET icon 1 context)
  install(FILES data/icons/${name}.svg DESTINATION ${icons}/scalable/${context})
  foreach(size 48 128 256)
    install(FILES data/icons/${name}-${size}.png DESTINATION ${icons}/${size}x${size}/${context}
            RENAME ${name}.png)
  endforeach()
endforeach()

file(GLOB examples CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/*.xml)
install(FILES ${examples} DESTINATION ${CMAKE_INSTALL_DATADIR}/flowlattice/examples)

set(CPACK_PACKAGE_NAME flowlattice)
set(CPACK_PACKAGE_VENDOR "The Flowlattice developers")
set(CPACK_PACKAGE_CONTACT "The Flowlattice developers <flowlattice@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and executor for dataflow programs drawn as circuits")
# Debian shows the long description as it is written: lines of at most 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Flowlattice places nodes of 23 built-in functions (constants, logic,"
       "arithmetic, comparisons, choice, conversions, Print) on a zoomable canvas,"
       "groups them into sub-circuits and loops, wires their typed"
       "ports and runs the circuit: every node computes once on a worker thread"
       "of its own, and Print nodes print lines. The same program runs and draws"
       "circuits from the command line, without a window.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The shared libraries come from dpkg-shlibdeps; the fonts are loaded by name at run time, which
# no library dependency reveals.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
include(CPack)
