# koyo_fuzz_replay(<target> LIBS <libraries>)
# Builds the fuzz target tests/fuzz/<target>.cpp with the ordinary compiler
# into a unit test that runs it on the target's committed seed corpus and
# reproducers (see ReplayTest.cpp). Called from the test folder of the layer
# the target exercises.
function(koyo_fuzz_replay target)
  cmake_parse_arguments(FR "" "" "LIBS" ${ARGN})
  set(dir ${PROJECT_SOURCE_DIR}/tests/fuzz)
  koyo_test(${target}_replay
    SOURCES ${dir}/${target}.cpp ${dir}/ReplayTest.cpp
    LIBS ${FR_LIBS})
  target_include_directories(${target}_replay PRIVATE ${dir})
  target_compile_definitions(${target}_replay PRIVATE KOYO_FUZZ_TARGET="${target}" KOYO_FUZZ_SUITE=${target}_replay)
endfunction()
