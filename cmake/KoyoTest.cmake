# koyo_test(<name> SOURCES <files...> LIBS <targets...> [ENV <VAR=value...>])
# Builds one GoogleTest executable and registers its cases with ctest.
include(GoogleTest)
function(koyo_test name)
  cmake_parse_arguments(KT "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${KT_SOURCES})
  target_link_libraries(${name} PRIVATE ${KT_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    KOYO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    KOYO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KOYO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "${KT_ENV}")
endfunction()
