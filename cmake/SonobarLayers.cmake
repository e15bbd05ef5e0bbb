# sonobar_add_layer(<name> [OBJECT] USES <libraries...> SOURCES <files...>)
#
# One library of the program, linked with the libraries it uses and with nothing above them.
# Product code is built with warnings as errors, and sonobar_check_layers() checks every
# library's includes against what it uses, so an include against the layering stops the build.
function(sonobar_add_layer name)
  cmake_parse_arguments(ARG "OBJECT" "" "USES;SOURCES" ${ARGN})
  if(ARG_OBJECT)
    add_library(${name} OBJECT ${ARG_SOURCES})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_USES})
  if(MINGW)
    # The program throws and catches nothing: without unwind tables it is a sixth smaller. Every
    # function-local static is first reached on the user-interface thread, so their guards need
    # no threads library either.
    target_compile_options(${name} PRIVATE -Werror -fno-exceptions -fno-asynchronous-unwind-tables
                                           -fno-threadsafe-statics)
  endif()
  add_dependencies(${name} sonobar_layering)

  set(files)
  foreach(source ${ARG_SOURCES})
    file(RELATIVE_PATH path ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/${source})
    list(APPEND files ${path})
  endforeach()
  set(layers ${ARG_USES})
  list(FILTER layers INCLUDE REGEX "^sonobar_")
  string(JOIN "," uses ${layers})
  string(JOIN "|" paths ${files})
  set_property(GLOBAL APPEND PROPERTY SONOBAR_LAYERS "${name}:${uses}=${paths}")
  set_property(GLOBAL APPEND PROPERTY SONOBAR_LAYER_FILES ${files})
endfunction()

# The include check over every library added so far; run again whenever a file changes.
function(sonobar_check_layers)
  get_property(layers GLOBAL PROPERTY SONOBAR_LAYERS)
  get_property(files GLOBAL PROPERTY SONOBAR_LAYER_FILES)
  list(TRANSFORM files PREPEND "${CMAKE_SOURCE_DIR}/")
  set(stamp ${CMAKE_BINARY_DIR}/layering.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/check_layers.py ${CMAKE_SOURCE_DIR} ${layers}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/check_layers.py ${files}
    COMMENT "Checking that the libraries include each other only downward"
    VERBATIM)
  add_custom_target(sonobar_layering DEPENDS ${stamp})

  # The include graph between the libraries, for people: cmake --build build --target include_graph
  add_custom_target(include_graph
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/check_layers.py --graph ${CMAKE_SOURCE_DIR} ${layers}
    VERBATIM)
endfunction()
