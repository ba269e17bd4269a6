# "cpack -G DEB" in a build folder makes the Debian package: the files of
# "cmake --install" under /usr, plus Debian's copyright and changelog.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hostlore)
set(CPACK_PACKAGE_VENDOR "The Hostlore developers")
set(CPACK_PACKAGE_CONTACT "The Hostlore developers <support@hostlore.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "what can be learnt about the web site behind an address")
# Lines of at most 80 characters, as Debian's control files want them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Hostlore shows, for one web address, the host's addresses and the region\n"
    "of its address block, the domain's DNS records checked with DNSSEC, the\n"
    "web server's software and dates, the domain's whois record, outside web\n"
    "services' pages about the site, the names of the host's neighbouring\n"
    "addresses and the local machine's network configuration.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://hostlore.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the program really links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dns-root-data holds the root key that DNSSEC validation starts from.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, publicsuffix, dns-root-data")
set(CPACK_HOSTLORE_DEBIAN_DOCS ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/add_debian_docs.cmake)
include(CPack)
