# The fuzz harnesses in the native unit tree: unit_tests replays every committed corpus file
# (tests/fuzz-corpus/<harness>/) through the same functions libFuzzer drives (scripts/fuzz).
file(GLOB FUZZ_HARNESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/harness/*.cpp)
target_sources(unit_tests PRIVATE ${FUZZ_HARNESS_SOURCES})
target_include_directories(unit_tests PRIVATE tests/fuzz tests/fuzz/harness)
target_compile_definitions(unit_tests PRIVATE
  TELVOR_FUZZ_CORPUS_DIR="${CMAKE_SOURCE_DIR}/tests/fuzz-corpus")
