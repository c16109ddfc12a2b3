# koyo_fuzz_replay(<target> LIBS <libraries> [FIXTURE_FONTS])
# Builds the fuzz target tests/fuzz/<target>.cpp with the ordinary compiler
# into a unit test that runs it on the target's committed seed corpus and
# reproducers (see ReplayTest.cpp). Called from the test folder of the layer
# the target exercises. With FIXTURE_FONTS the target looks fonts up among the
# fixture fonts only (a fonts.conf written into the test folder's build tree).
function(koyo_fuzz_replay target)
  cmake_parse_arguments(FR "FIXTURE_FONTS" "" "LIBS" ${ARGN})
  set(dir ${PROJECT_SOURCE_DIR}/tests/fuzz)
  koyo_test(${target}_replay
    SOURCES ${dir}/${target}.cpp ${dir}/ReplayTest.cpp
    LIBS ${FR_LIBS})
  target_include_directories(${target}_replay PRIVATE ${dir})
  target_compile_definitions(${target}_replay PRIVATE KOYO_FUZZ_TARGET="${target}" KOYO_FUZZ_SUITE=${target}_replay)
  if(FR_FIXTURE_FONTS)
    set(SYSFONT_FIXTURE_FONTS ${PROJECT_SOURCE_DIR}/tests/data/sysfont/fonts)
    set(SYSFONT_FONTCONFIG_CACHE ${CMAKE_CURRENT_BINARY_DIR}/fontconfig-cache)
    configure_file(${PROJECT_SOURCE_DIR}/tests/data/sysfont/fonts.conf.in
      ${CMAKE_CURRENT_BINARY_DIR}/fuzz-fonts.conf @ONLY)
    target_compile_definitions(${target}_replay PRIVATE
      KOYO_FUZZ_FONTS_CONF="${CMAKE_CURRENT_BINARY_DIR}/fuzz-fonts.conf")
  endif()
endfunction()
