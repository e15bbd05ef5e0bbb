# sonobar_add_gtest(<name> SOURCES <files...> [REAL_WINMM] [MIXER <library>] [LIBS <libs...>])
#
# One GoogleTest program, one ctest entry. Test programs link the program's code and resources
# with the simulated mixer, with Wine's real winmm when REAL_WINMM is given, or with the mixer
# library that MIXER names (the product's own, sonobar_mixer_choice).
function(sonobar_add_gtest name)
  cmake_parse_arguments(ARG "REAL_WINMM" "MIXER" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} $<TARGET_OBJECTS:sonobar_res>)
  if(ARG_REAL_WINMM)
    set(mixer_lib winmm)
  elseif(ARG_MIXER)
    set(mixer_lib ${ARG_MIXER})
  else()
    set(mixer_lib sonobar_sim)
  endif()
  set_target_properties(${name} PROPERTIES SONOBAR_MIXER ${mixer_lib})
  target_link_libraries(${name} PRIVATE sonobar_bar ${ARG_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
