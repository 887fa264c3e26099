# Installs ぽこもじ as a Linux desktop application (desktop entry, AppStream
# record, icons) and packs it as a Debian package with `cpack -G DEB`.
#
# Every installed name carries the application id, so that the desktop entry,
# the AppStream launchable and the icon theme all find each other.
include(GNUInstallDirs)

set(POKOMOJI_APP_ID jp.pokomoji.Pokomoji)
# The release number shown to users and package managers: major.minor and the
# build number, 1.0.0.2 -> 1.0.2.
set(POKOMOJI_RELEASE "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")

set(_pokomoji_assets ${PROJECT_SOURCE_DIR}/assets)
install(FILES ${_pokomoji_assets}/${POKOMOJI_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_pokomoji_assets}/${POKOMOJI_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The icon theme: the icon drawn for each of its pixel sizes, and the
# scalable drawing for every other size.
foreach(_size IN ITEMS 16 22 24 32 48)
    install(FILES ${_pokomoji_assets}/icon-${_size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
            RENAME ${POKOMOJI_APP_ID}.png)
endforeach()
install(FILES ${_pokomoji_assets}/icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${POKOMOJI_APP_ID}.svg)
# Debian looks for a package's licence as doc/<package>/copyright.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DOCDIR}
        RENAME copyright)

# The Debian package. dpkg-shlibdeps (package dpkg-dev) reads the program's
# shared libraries and adds the Qt runtime packages to Depends; the font is
# loaded at run time, so it is named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pokomoji)
set(CPACK_PACKAGE_VENDOR "ぽこもじ開発チーム")
set(CPACK_PACKAGE_CONTACT "ぽこもじ開発チーム <team@pokomoji.jp>")
set(CPACK_PACKAGE_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(CPACK_PACKAGE_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(CPACK_PACKAGE_VERSION_PATCH ${PROJECT_VERSION_TWEAK})
set(CPACK_PACKAGE_VERSION ${POKOMOJI_RELEASE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "kana drill for children in their first school years")
# Kept in lines of under 80 characters, as Debian package descriptions are.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "A small desktop drill with which young children learn to match the two"
    "kana scripts: one window shows a hiragana and the child presses its"
    "katakana on a chart laid out like the traditional kana table, the other"
    "asks the reverse. Sessions of 71, 30 or 15 questions are scored against a"
    "seconds clock, with pictures instead of written captions.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://pokomoji.jp/")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
