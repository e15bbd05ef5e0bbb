# Cross-compiles for 32-bit Windows with MinGW-w64. Tests and sonobar-sim.exe use the "-posix"
# compilers (GoogleTest needs std::mutex, which the "-win32" flavour lacks); their runtime
# imports functions that Windows XP does not have (GetTickCount64), so sonobar.exe, the program
# users receive, is built apart with the "-win32" compilers (mingw-i686-win32.cmake, and the
# top CMakeLists.txt). Programs and tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

if(NOT DEFINED SONOBAR_MINGW_THREADS)
  set(SONOBAR_MINGW_THREADS posix)
  set(SONOBAR_SHIPPED_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/mingw-i686-win32.cmake)
endif()

set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-${SONOBAR_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-${SONOBAR_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest and gtest run the test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)
