# The installed layout mirrors the build's bin folder, since the modules find their siblings, the
# menu file and the help beside themselves and the host finds its platform folder beside its
# runtime: all of it goes to lib/sentavell, bin/svhost is a relative link to the host there, and
# the example scripts go to share/sentavell/examples.
set(SV_INSTALL_DIR lib/sentavell)

install(TARGETS svhost sv_host_runtime sentavell17 sentavellui17 sentavellui17res hhctrl
        RUNTIME DESTINATION ${SV_INSTALL_DIR}
        LIBRARY DESTINATION ${SV_INSTALL_DIR})
install(FILES ${SV_BIN_DIR}/sv17.cui ${SV_BIN_DIR}/sentavell.chm DESTINATION ${SV_INSTALL_DIR})

# The platform folder's modules link against the runtime one folder up.
set_target_properties(winhlp32 PROPERTIES INSTALL_RPATH "$ORIGIN/..")
install(TARGETS winhlp32 LIBRARY DESTINATION ${SV_INSTALL_DIR}/windows)

# Relative, so the prefix can move (a staging folder, a package's root).
file(RELATIVE_PATH host_link /bin /${SV_INSTALL_DIR}/svhost)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/install)
file(CREATE_LINK ${host_link} ${PROJECT_BINARY_DIR}/install/svhost SYMBOLIC)
install(FILES ${PROJECT_BINARY_DIR}/install/svhost DESTINATION bin)

install(FILES ${PROJECT_SOURCE_DIR}/examples/live_labels.scr
              ${PROJECT_SOURCE_DIR}/examples/drafting.scr
        DESTINATION share/sentavell/examples)
