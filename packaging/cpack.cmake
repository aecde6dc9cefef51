# The Debian package: `cmake --build build --target package` writes
# build/tarvo_<version>_<arch>.deb. Its dependencies come from the libraries
# the programs link (dpkg-shlibdeps), plus the Qt platform plugins, which
# are loaded at run time and so are invisible to it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tarvo)
set(CPACK_PACKAGE_CONTACT "Tarvo PC software team <pc-software@tarvo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PC programs for the Tarvo gloss sensor and RGB colour sensor")
# The long description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "TarvoV43 sets up, watches and calibrates the optical gloss sensor over an
RS-232 line or TCP/IP: parameter set, live values and strip charts, teach
table, calibration, recording and the gloss-factor trend monitor.
TarvoTempCompV43 computes the temperature compensation of the RGB colour
sensor and sends it to the sensor. tarvoctl does the sensor's transfers
from scripts and the command line, and publishes its values to the plant's
MQTT broker, also as a service (tarvoctl-publish@.service). sensorsim
simulates both sensors for training and trying the programs without
hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own dialogs and buttons in German; without it they stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The service's user is made when the package is configured.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  "${CMAKE_CURRENT_LIST_DIR}/debian/postinst;${CMAKE_CURRENT_LIST_DIR}/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
