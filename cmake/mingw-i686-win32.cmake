# The shipped sonobar.exe: the "-win32" MinGW-w64 compilers, whose runtime calls nothing that
# Windows XP SP3 lacks. Used by the build of its own that the top CMakeLists.txt starts.
set(SONOBAR_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
