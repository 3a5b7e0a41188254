# The Debian package "tipdesk" (cpack -G DEB in build-package/, see scripts/package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tipdesk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TipDesk developers")
set(CPACK_PACKAGE_CONTACT "TipDesk developers <maintainers@tipdesk.invalid>" CACHE STRING
  "Maintainer field of the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop client of a stock alert service, with a reference server")
set(CPACK_PACKAGE_DESCRIPTION
"TipDesk logs a subscriber in to the operator's server, then sits in the
notification area and shows what the operators publish: alert stocks, live
trading items and private-fund bulletins. Anything new plays a sound, slides
a popup out above the taskbar and refreshes the window that shows it. The
user interface is in Simplified Chinese.

The package also holds tipdesk-server, a reference operator server that keeps
accounts and content in one SQLite file, with a systemd unit that is installed
but not enabled.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The files in /etc are the administrator's once installed: dpkg keeps their changes.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/conffiles)
# Libraries the programs link come from dpkg-shlibdeps; the private ones are in the package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# (relative to the package's staging folder, where CPack runs dpkg-shlibdeps)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS usr/${TIPDESK_PRIVATE_LIBDIR})
# What Qt loads at run time comes with the libraries dpkg-shlibdeps finds: the X11 platform plugin
# with libqt6gui6, the web engine's helper process with libqt6webenginecore6, the multimedia
# plugins with libqt6multimedia6 (found in the sound module). Qt's own Chinese texts (file dialog,
# context menus, calendar) are no library: named here, added to what dpkg-shlibdeps finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "sqlite3")

include(CPack)
