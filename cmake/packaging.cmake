# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh).
set(CPACK_PACKAGE_NAME "lx47-config")
set(CPACK_PACKAGE_VENDOR "Orvane Systems")
set(CPACK_PACKAGE_CONTACT "LX47 team <team@lx47.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration tool for KD-LX47 serial-to-Wi-Fi device servers")
set(CPACK_PACKAGE_DESCRIPTION "Finds KD-LX47 device servers on the local network, shows and changes
their network, serial, Wi-Fi and special settings, resets them to factory settings and updates
their firmware. Comes with lx47ctl, the same jobs from the command line for scripts and for
many devices at once, and lx47-sim, a simulator of the device.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "net")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The Qt runtime the tool links (its X11 plug-in comes with libqt6gui6), Qt's
# Japanese texts, and a font that has
# the Japanese of every window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), qt6-translations-l10n, fonts-noto-cjk, libc6, libstdc++6")
include(CPack)
