# On Windows the program folder, its installer and a ZIP instead (packaging/Windows.cmake).
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/Windows.cmake)
  return()
endif()

# The Debian package: the updater and its registration stand-in in /opt/lumivex (the folder of the
# suite, which the updater treats as its program folder), a desktop entry and an icon.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumivex-live-update20)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lumivex")
set(CPACK_PACKAGE_CONTACT "Lumivex podrška <podrska@lumivex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Automatsko ažuriranje Lumi-vex programa V20")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Provjerava postoje li nove verzije programa, komponenti, skripti za izmjenu baze
i pomoći paketa Lumi-vex V20, preuzima ih s poslužitelja ili mrežne lokacije, raspakirava alatom 7-Zip,
provjerava i instalira uz sigurnosnu kopiju starih datoteka i povrat pri grešci.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "p7zip-full, qt6-translations-l10n, libqt6svg6")
include(CPack)
