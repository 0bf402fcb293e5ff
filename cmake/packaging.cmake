# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built by cpack from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME coltavenira)
set(CPACK_PACKAGE_VENDOR "Coltavenira")
set(CPACK_PACKAGE_CONTACT "Equipo de Coltavenira")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lector del código de colores de resistencias")
set(CPACK_PACKAGE_DESCRIPTION
    "Coltavenira halla el valor de una resistencia de cuatro bandas a partir de sus\n\
colores, elegidos en cuatro listas desplegables, y lo muestra en ohmios,\n\
kiloohmios o megaohmios con su tolerancia.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not a linked library, so dpkg-shlibdeps cannot see it: the font that stands in for Arial.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
include(CPack)
