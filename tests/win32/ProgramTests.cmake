# The test programs of the Windows build (included by tests/CMakeLists.txt when WIN32): the same
# sources as on Linux, cross-compiled against the Windows prefix's Qt and GoogleTest, over the Win32
# bodies of the ports (support/TestOkruzenje.h picks them), run under Wine by scripts/windows-test.
# The test HTTP server runs in each test program, on 127.0.0.1 through Wine's sockets.
find_package(GTest REQUIRED)
# The hostile-server tests make gzip bodies with Debian's mingw-w64 zlib, linked in.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

# Only cpp-httplib's one header comes from the host, copied into a folder of its own, so the Windows
# build never sees the host's other headers; built without TLS and compression.
find_file(LUMIVEX_HTTPLIB_HEADER httplib.h PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
configure_file(${LUMIVEX_HTTPLIB_HEADER} ${CMAKE_CURRENT_BINARY_DIR}/httplib-only/httplib.h COPYONLY)
add_library(lumivex_win_httplib INTERFACE)
target_include_directories(lumivex_win_httplib SYSTEM INTERFACE ${CMAKE_CURRENT_BINARY_DIR}/httplib-only)
target_link_libraries(lumivex_win_httplib INTERFACE ws2_32)

# The support without what needs X11, OpenSSL or the demo's shell scripts.
file(GLOB SUPPORT_SOURCES CONFIGURE_DEPENDS support/*.cpp support/*.h)
list(FILTER SUPPORT_SOURCES EXCLUDE REGEX "support/(TestMain|TestMainWidgets|TestCertificates|X11Prozori|Xvfb|DemoPosluzitelj)\\.(cpp|h)$")
add_library(lumivex_test_support STATIC ${SUPPORT_SOURCES})
target_include_directories(lumivex_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(lumivex_test_support PUBLIC lumivex_install lumivex_distribution lumivex_publish
  GTest::gtest GTest::gmock lumivex_win_httplib ZLIB::ZLIB)
target_compile_definitions(lumivex_test_support PUBLIC UNICODE _UNICODE NOMINMAX
  LUMIVEX_PROGRAM_DIR="$<TARGET_FILE_DIR:LumivexLiveUpdate20>"
  LUMIVEX_SOURCE_DIR="${PROJECT_SOURCE_DIR}" LUMIVEX_BUILD_DIR="${PROJECT_BINARY_DIR}")
add_library(lumivex_test_main STATIC support/TestMain.cpp)
target_link_libraries(lumivex_test_main PUBLIC lumivex_test_support)
add_library(lumivex_test_support_widgets STATIC support/TestMainWidgets.cpp)
target_link_libraries(lumivex_test_support_widgets PUBLIC lumivex_test_support lumivex_shell)

# Left out, each for its reason (the README lists them):
#   guard_x11_test, port_contract_test, command_line_test: they draw X11 windows of their own (the
#     port tables run under Wine in Win32.BodiesUnderWine);
#   https_test: its server needs OpenSSL, which the Windows prefix lacks;
#   release_signature_test, signed_release_test, publish_test: they sign with the Linux minisign;
#   demo_test: it runs the demo's shell scripts; wine_launcher_test: the launcher is Linux's;
#   units_test: it checks the Debian package's systemd units;
#   process_runner_test, filesystem_test: they test the Linux process runner (with POSIX signals) and
#     the Linux file system (the Win32 bodies' own tables run in Win32.BodiesUnderWine);
#   crash_test: its in-memory disk words its failures through the Linux file system's errno table.
set(lumivex_windows_tests
  core/comparison_test core/control_file_test core/file_kind_test core/log_test core/progress_test
  core/wait_test
  distribution/distribution_test distribution/timer_test
  install/command_test install/guard_test install/installation_test
  install/preparation_test install/recovery_test install/registration_test
  platform/http_transfer_test platform/proxy_test
  shell/accessibility_test shell/dialogs_test shell/grid_test shell/settings_test shell/window_test
  transfer/downinet_test transfer/fetch_internet_test transfer/fetch_network_test
  transfer/hostile_server_test transfer/unzip_test)
foreach(test ${lumivex_windows_tests})
  get_filename_component(name ${test} NAME)
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/${test}.cpp)
  add_executable(${name} ${source})
  file(STRINGS ${source} shell_includes REGEX "#include \"shell/")
  if(shell_includes)
    target_link_libraries(${name} PRIVATE lumivex_test_support_widgets)
  else()
    target_link_libraries(${name} PRIVATE lumivex_test_main)
  endif()
  # Each program is one CTest entry, run under Wine through the toolchain's emulator, in a Croatian
  # locale: Wine then writes the log in code page 1250, where every letter of its texts has a place.
  add_test(NAME Windows.${name} COMMAND ${name})
  set_tests_properties(Windows.${name} PROPERTIES TIMEOUT 600
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=hr_HR.UTF-8;LANG=hr_HR.UTF-8")
endforeach()
