# The Debian package: `cpack` in the build folder (scripts/package.sh) writes
# zelkon_<version>_<arch>.deb, its Depends taken from the programs' shared libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelkon)
set(CPACK_PACKAGE_VENDOR Kestrane)
set(CPACK_PACKAGE_CONTACT "Zelkon developers <zelkon@kestrane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "statistics for researchers who analyse small data sets")
set(CPACK_PACKAGE_DESCRIPTION
    "Zelkon leads you through six steps: choose a data format, enter or import the numbers, "
    "read the column statistics, choose a test on a guided page, read a plain-language report "
    "that explains every number and checks the test's assumptions, and look at a graph. "
    "It covers t tests, rank tests with exact P values, ANOVA with post tests, contingency "
    "tables, regression and correlation. zelkon-cli runs the same engine from a terminal.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugin of Qt and the fixed-pitch font of the report are loaded at run
# time, so no shared-library dependency names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
# Nothing installed depends on the prefix, so any build folder can make the package.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
