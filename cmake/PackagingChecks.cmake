# Read by cpack before it builds a package. A Debian package is made only
# where its library dependencies can be worked out: dpkg-shlibdeps (package
# dpkg-dev) names the packages of the libraries, and CPack finds the programs
# to hand it with the file utility (package file).
cmake_policy(VERSION 3.25) # find_program() wants programs it may execute
if(CPACK_GENERATOR STREQUAL "DEB")
    set(missing)
    find_program(POKOMOJI_DPKG_SHLIBDEPS dpkg-shlibdeps)
    if(NOT POKOMOJI_DPKG_SHLIBDEPS)
        list(APPEND missing "dpkg-shlibdeps (package dpkg-dev)")
    endif()
    find_program(POKOMOJI_FILE file)
    if(NOT POKOMOJI_FILE)
        list(APPEND missing "file (package file)")
    endif()
    if(missing)
        list(JOIN missing ", " missing)
        message(FATAL_ERROR "No Debian package is made without its library dependencies. "
                            "Not found, to work them out: ${missing}. "
                            "Install them with: apt-get install dpkg-dev file")
    endif()
endif()
