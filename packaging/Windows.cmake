# The Windows program folder as the suite's offices get it, and its installer. `cmake --install`
# lays the folder out (the program, the Qt DLLs and plugins, the compiler's runtime DLLs, libsodium,
# 7za.exe, Qt's Croatian texts); CPack puts the same files into an NSIS installer that installs them
# into a chosen suite folder, and into a ZIP.
get_target_property(lumivex_qtcore_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT lumivex_qtcore_dll)
  get_target_property(lumivex_qtcore_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(lumivex_qt_bin ${lumivex_qtcore_dll} DIRECTORY)
get_filename_component(lumivex_qt_prefix ${lumivex_qt_bin} DIRECTORY)
set(lumivex_qt_plugins ${lumivex_qt_prefix}/plugins)

# 7-Zip's stand-alone tool, built into the same prefix; the updater looks for it beside itself.
find_program(LUMIVEX_7ZA_EXE 7za.exe PATHS ${lumivex_qt_bin} NO_DEFAULT_PATH REQUIRED)
# The host's Croatian Qt texts ("Da", "Ne"): translation files are the same on every system.
find_file(LUMIVEX_QT_HR_QM qtbase_hr.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)

set(lumivex_dir ${LUMIVEX_INSTALL_DIR})
install(PROGRAMS ${LUMIVEX_7ZA_EXE} DESTINATION ${lumivex_dir})
install(FILES ${LUMIVEX_QT_HR_QM} DESTINATION ${lumivex_dir}/translations)
# Qt finds its plugins and texts beside the program, wherever the suite folder lies.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/qt.conf DESTINATION ${lumivex_dir})

# The plugins the program loads: the Windows platform, its native style, and TLS through schannel.
set(lumivex_plugins platforms/qwindows.dll styles/qwindowsvistastyle.dll tls/qschannelbackend.dll)
set(lumivex_plugin_files "")
foreach(plugin ${lumivex_plugins})
  get_filename_component(folder ${plugin} DIRECTORY)
  install(FILES ${lumivex_qt_plugins}/${plugin} DESTINATION ${lumivex_dir}/${folder})
  list(APPEND lumivex_plugin_files ${lumivex_qt_plugins}/${plugin})
endforeach()

# Every DLL the program and its plugins import that lies in the prefix or in the compiler's folders
# is copied beside the program; the system's own DLLs stay unresolved and are left out.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE lumivex_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(lumivex_gcc_runtime ${lumivex_libstdcxx} DIRECTORY)
find_program(LUMIVEX_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
get_filename_component(lumivex_sodium_bin ${SODIUM_LIBRARY} DIRECTORY)
get_filename_component(lumivex_sodium_bin ${lumivex_sodium_bin}/../bin ABSOLUTE)
set(lumivex_dll_folders ${lumivex_qt_bin} ${lumivex_sodium_bin} ${lumivex_gcc_runtime} /usr/x86_64-w64-mingw32/lib)
install(CODE "
  set(LUMIVEX_BINARIES \"$<TARGET_FILE:LumivexLiveUpdate20>;${lumivex_plugin_files}\")
  set(LUMIVEX_DLL_FOLDERS \"${lumivex_dll_folders}\")
  set(LUMIVEX_OBJDUMP \"${LUMIVEX_OBJDUMP}\")
  set(LUMIVEX_STRIP \"${CMAKE_STRIP}\")
  set(LUMIVEX_DIR \"${lumivex_dir}\")
  include(\"${PROJECT_SOURCE_DIR}/packaging/windows/RuntimeDlls.cmake\")
")
set(CMAKE_INSTALL_SYSTEM_RUNTIME_LIBS_SKIP ON)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME LumivexLiveUpdate20)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lumivex")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Automatsko ažuriranje Lumi-vex programa V20")
set(CPACK_PACKAGE_FILE_NAME LumivexLiveUpdate20-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Lumivex V20")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "LumivexLiveUpdate20")
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_INSTALL_ROOT "C:")
set(CPACK_NSIS_DISPLAY_NAME "Lumivex Live Update 20")
set(CPACK_NSIS_PACKAGE_NAME "Lumivex Live Update 20")
set(CPACK_NSIS_INSTALLED_ICON_NAME LumivexLiveUpdate20.exe)
set(CPACK_NSIS_MENU_LINKS LumivexLiveUpdate20.exe "Lumivex Live Update 20")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for the 64-bit program: it also runs where Wine has no 32-bit part (Debian's
# wine64 alone), and it speaks Unicode.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
include(CPack)
