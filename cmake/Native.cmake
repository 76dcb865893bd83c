# Native tree: unit tests of the portable logic under ASan/UBSan, and the benchmarks.
option(TELVOR_SANITIZE "Build the native tree with AddressSanitizer and UBSan" ON)
if(TELVOR_SANITIZE)
  foreach(t ${TELVOR_LIBRARIES})
    target_compile_options(${t} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(${t} PUBLIC -fsanitize=address,undefined)
  endforeach()
endif()

# Tests and benchmarks that read the shipped data files (targets defined below only).
add_compile_definitions(TELVOR_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")

if(BUILD_TESTING)
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB_RECURSE UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE ${TELVOR_LIBRARIES} GTest::gtest GTest::gtest_main)
target_include_directories(unit_tests PRIVATE src tests/unit)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
include(cmake/FuzzCorpus.cmake)
endif()

# Benchmarks are meaningful only without sanitizers (scripts/bench builds such a tree).
if(NOT TELVOR_SANITIZE)
  find_package(benchmark REQUIRED)
  file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
  foreach(src ${BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${TELVOR_LIBRARIES} benchmark::benchmark)
    target_include_directories(${name} PRIVATE src)
  endforeach()
endif()
