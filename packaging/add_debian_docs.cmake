# Runs inside cpack after the install step: adds the files Debian wants in
# every package to the staged tree.
set(doc ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/hostlore)
file(MAKE_DIRECTORY ${doc})
file(COPY_FILE ${CPACK_HOSTLORE_DEBIAN_DOCS}/copyright ${doc}/copyright)
file(COPY_FILE ${CPACK_HOSTLORE_DEBIAN_DOCS}/changelog ${doc}/changelog)
execute_process(COMMAND gzip --best --no-name ${doc}/changelog COMMAND_ERROR_IS_FATAL ANY)
