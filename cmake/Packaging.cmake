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
foreach(_size IN LISTS POKOMOJI_ICON_SIZES)
    install(FILES ${_pokomoji_assets}/icon-${_size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
            RENAME ${POKOMOJI_APP_ID}.png)
endforeach()
install(FILES ${_pokomoji_assets}/icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${POKOMOJI_APP_ID}.svg)

# The files every Debian package carries: the licences in the machine-readable
# copyright format, the changelog and the manual page, these two compressed
# as Debian keeps them (gzip -9n: smallest, no name or time stamp inside).
set(_pokomoji_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(_pokomoji_gzipped)
foreach(file IN ITEMS changelog pokomoji.6)
    set(gz ${PROJECT_BINARY_DIR}/packaging/${file}.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
        COMMAND gzip -9nc ${_pokomoji_packaging}/${file} > ${gz}
        DEPENDS ${_pokomoji_packaging}/${file}
        VERBATIM)
    list(APPEND _pokomoji_gzipped ${gz})
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${_pokomoji_gzipped})
install(FILES ${_pokomoji_packaging}/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_BINARY_DIR}/packaging/pokomoji.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The compilers' version notes (.comment) are of no use in the installed
# program; Debian's own packages drop them when they strip.
if(CMAKE_OBJCOPY AND NOT WIN32)
    install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:pokomoji>\"
        COMMAND_ERROR_IS_FATAL ANY)")
endif()

# The Debian package. Its Depends are worked out by dpkg-shlibdeps (package
# dpkg-dev) from the program's shared libraries, plus the packages below that
# the program needs at run time without linking to them, one a line. There is
# none today: the pictures and the face are built into the program.
set(POKOMOJI_DEB_EXTRA_DEPENDS
)
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
list(JOIN POKOMOJI_DEB_EXTRA_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# Without dpkg-shlibdeps CPack would only warn and write a package that names
# none of the Qt libraries; cpack -G DEB refuses instead.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagingChecks.cmake)

include(CPack)
