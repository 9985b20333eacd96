# Per generator: the .deb installs under /usr, the .tar.gz holds games/, lib/ and share/ at its top.
if(CPACK_GENERATOR STREQUAL "TGZ")
    set(CPACK_PACKAGING_INSTALL_PREFIX "/")
endif()
