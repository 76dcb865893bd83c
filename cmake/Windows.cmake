# MinGW tree: Telvor.exe, TELVACT.exe, the line simulator, and the two Wine test tiers.
file(GLOB TELVOR_RESOURCES CONFIGURE_DEPENDS src/ui/win/*.rc)
add_executable(Telvor WIN32 src/monitor/win/main.cpp ${TELVOR_RESOURCES})
target_link_libraries(Telvor PRIVATE telvor_monitor)
telvor_include_root(Telvor PRIVATE monitor)

file(GLOB TELVACT_WIN_SOURCES CONFIGURE_DEPENDS src/activator/win/*.cpp src/activator/win/*.rc)
add_executable(TELVACT ${TELVACT_WIN_SOURCES})
target_link_libraries(TELVACT PRIVATE telvor_activator user32)
telvor_include_root(TELVACT PRIVATE activator)

# The help pages, shipped beside the program in the folder "Hilfe" (bin/Hilfe here).
file(GLOB TELVOR_HELP_PAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*)
set(TELVOR_HELP_STAMP ${CMAKE_BINARY_DIR}/help_pages.stamp)
add_custom_command(OUTPUT ${TELVOR_HELP_STAMP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/bin/Hilfe
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/help ${CMAKE_BINARY_DIR}/bin/Hilfe
  COMMAND ${CMAKE_COMMAND} -E touch ${TELVOR_HELP_STAMP}
  DEPENDS ${TELVOR_HELP_PAGES}
  COMMENT "Copying the help pages")
add_custom_target(help_pages ALL DEPENDS ${TELVOR_HELP_STAMP})
add_dependencies(Telvor help_pages)

add_subdirectory(tools/capisim)
include(cmake/Package.cmake)

if(NOT BUILD_TESTING)
  return()
endif()

# GoogleTest from the sources the machine ships, cross-compiled.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(t gtest gtest_main gmock gmock_main)
  target_compile_options(${t} PRIVATE -w)
endforeach()
include(GoogleTest)

# What both Wine tiers share: looking at windows as a user does (tests/support).
file(GLOB TELVOR_TEST_SUPPORT CONFIGURE_DEPENDS tests/support/*.cpp)
add_library(test_support STATIC ${TELVOR_TEST_SUPPORT})
target_include_directories(test_support PUBLIC tests)
target_include_directories(test_support PRIVATE src)  # the handle wrappers (header only)
target_link_libraries(test_support PUBLIC user32 psapi)

# The demo's hand on the monitor's windows (scripts/demo): the same probe, as a command line.
add_executable(demodrive tools/demodrive/demodrive.cpp)
target_link_libraries(demodrive PRIVATE test_support)

# Each test case runs on its own: scripts/wine-run gives it a fresh prefix, an Xvfb
# display, a temp folder and a time bound.
function(telvor_wine_tests target folder timeout)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${folder}/*.cpp)
  # Libraries the cases load at run time are built on their own (below).
  list(FILTER srcs EXCLUDE REGEX "/(latewait|recorder)/")
  add_executable(${target} ${srcs})
  target_include_directories(${target} PRIVATE ${folder} tools/capisim src)
  target_link_libraries(${target} PRIVATE ${ARGN} test_support GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_add_tests(TARGET ${target} SOURCES ${srcs} TEST_LIST cases)
  set_tests_properties(${cases} PROPERTIES TIMEOUT ${timeout} ENVIRONMENT "TELVOR_CASE_TIMEOUT=${timeout}")
endfunction()
telvor_wine_tests(win_tests tests/win 120 telvor_monitor telvor_ncid capisim_client version)
# A CAPI library whose wait returns late and that does not pin itself (unload safety).
add_library(LateWait SHARED tests/win/latewait/LateWait.cpp)
set_target_properties(LateWait PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(LateWait PRIVATE -Wl,--kill-at)
endif()
add_dependencies(win_tests LateWait Telvor)
# The help pages as the sources hold them, under Wine's drive Z: (the root of the machine).
target_compile_definitions(win_tests PRIVATE TELVOR_HELP_DIR="Z:${PROJECT_SOURCE_DIR}/help")
telvor_wine_tests(e2e_tests tests/e2e 240 telvor_ui capisim_client ${TELVOR_WIN_LIBS})
# A program the shell can start in place of a browser: it writes down its command line.
add_executable(ArgsRecorder tests/e2e/recorder/ArgsRecorder.cpp)
target_include_directories(ArgsRecorder PRIVATE src)
add_dependencies(e2e_tests Telvor TELVACT Capi2032 capisimctl ArgsRecorder package_zip package_setup)
# Wine's own capi2032 (docs/linux.md): Wine takes the overrides from the environment the
# harness starts it with, so this case gets its own.
set_tests_properties(StartWithWinesOwnCapi.WithoutACapiDeviceReportsTheMissingCardAndEnds PROPERTIES
  ENVIRONMENT "TELVOR_CASE_TIMEOUT=240;WINEDLLOVERRIDES=capi2032=b\\;mscoree,mshtml=")
# The package and the installer of this tree, by their paths on the machine: the case unpacks
# the one with the machine's unzip and runs the other under Wine.
target_compile_definitions(e2e_tests PRIVATE TELVOR_PACKAGE_ZIP="${TELVOR_PACKAGE_ZIP}"
  TELVOR_PACKAGE_SETUP="${TELVOR_PACKAGE_SETUP}")

# The ring-to-window benchmark (scripts/bench-wine): a plain Windows program on the e2e
# support code, without GoogleTest.
add_executable(ring_to_window_bench bench/win/ring_to_window_bench.cpp
  tests/e2e/support/CaseFiles.cpp tests/e2e/support/ChildProcess.cpp
  tests/e2e/support/CaseRegistry.cpp tests/e2e/support/FakeNcidServer.cpp)
target_include_directories(ring_to_window_bench PRIVATE tests/e2e tools/capisim src)
target_link_libraries(ring_to_window_bench PRIVATE telvor_store capisim_client test_support ${TELVOR_WIN_LIBS})
add_dependencies(ring_to_window_bench Telvor Capi2032)

# The sortable-list benchmark (scripts/bench-wine): 100 000 call rows filled and sorted.
add_executable(list_view_bench bench/win/list_view_bench.cpp)
target_link_libraries(list_view_bench PRIVATE telvor_ui)
telvor_include_root(list_view_bench PRIVATE ui)

# The configuration dialog benchmark (scripts/bench-wine): the dialog in-process with 100 000
# calls and 10 000 callers.
add_executable(config_dialog_bench bench/win/config_dialog_bench.cpp)
target_link_libraries(config_dialog_bench PRIVATE telvor_ui)
telvor_include_root(config_dialog_bench PRIVATE ui)

# Start-up migration and text import under Wine (scripts/wine-run): a plain Windows program.
add_executable(migration_bench bench/win/migration_bench.cpp)
target_link_libraries(migration_bench PRIVATE telvor_store)
telvor_include_root(migration_bench PRIVATE store)

# The soak run (scripts/soak): many calls into one monitor, then records and resources.
add_executable(soak bench/win/soak.cpp bench/win/PlatformKeep.cpp
  tests/e2e/support/CaseFiles.cpp tests/e2e/support/ChildProcess.cpp
  tests/e2e/support/CaseRegistry.cpp)
target_include_directories(soak PRIVATE tests/e2e tools/capisim src)
target_link_libraries(soak PRIVATE telvor_store capisim_client test_support psapi ${TELVOR_WIN_LIBS})
add_dependencies(soak Telvor Capi2032)
