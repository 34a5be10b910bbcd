# The Debian package (cpack -G DEB): the installed layout under /usr. Run-time library dependencies
# (cairo, pango and whatever the runtime links later) come from dpkg-shlibdeps; the fonts the
# painting layer asks for by name are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sentavell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Sentavell developers <developers@sentavell.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "live annotation labels for drawings, with a command-line drafting host to run them")
set(CPACK_PACKAGE_DESCRIPTION
    "Sentavell links a label of a drawing to a property of a source object (its area, length, \
coordinates or text) and rewrites the label whenever the source changes. The package holds the \
add-on's three modules and svhost, a scriptable command-line drafting host that loads them, with \
a sample session in /usr/share/sentavell/examples.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The runtime and the database module are private libraries beside the host.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${SV_BIN_DIR})
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
include(CPack)
