# Windows programs with Debian's mingw-w64 (posix threads for std::thread).
# 64-bit by default; -DZV_WIN_ARCH=i686 builds the 32-bit programs instead.
set(ZV_WIN_ARCH x86_64 CACHE STRING "Windows target: x86_64 (default) or i686")
set_property(CACHE ZV_WIN_ARCH PROPERTY STRINGS x86_64 i686)
if(NOT ZV_WIN_ARCH MATCHES "^(x86_64|i686)$")
  message(FATAL_ERROR "ZV_WIN_ARCH must be x86_64 or i686, not '${ZV_WIN_ARCH}'")
endif()
# try_compile projects read the toolchain again and need the same choice.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZV_WIN_ARCH)

set(_zv_triple ${ZV_WIN_ARCH}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZV_WIN_ARCH})
set(CMAKE_C_COMPILER ${_zv_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_zv_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_zv_triple}-windres)
set(CMAKE_STRIP ${_zv_triple}-strip CACHE FILEPATH "")
set(CMAKE_OBJCOPY ${_zv_triple}-objcopy CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH /usr/${_zv_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CXX_FLAGS_INIT "-DUNICODE -D_UNICODE")
set(CMAKE_C_FLAGS_INIT "-DUNICODE -D_UNICODE")
if(ZV_WIN_ARCH STREQUAL "i686")
  # SSE arithmetic in the 32-bit build too, so pixel formulas round as they do in the 64-bit one.
  string(APPEND CMAKE_CXX_FLAGS_INIT " -msse2 -mfpmath=sse")
  string(APPEND CMAKE_C_FLAGS_INIT " -msse2 -mfpmath=sse")
endif()
# The installer is a download stub: optimise for size. Painting and start-up time are spent in
# GDI and window management, and measure the same at -O3 (a third larger). -g gives the symbol
# file beside each stripped program the lines of our code; the shipped file keeps its size.
# A build folder still holding the earlier flags takes the new ones.
foreach(lang CXX C)
  if(NOT DEFINED CACHE{CMAKE_${lang}_FLAGS_RELEASE} OR "$CACHE{CMAKE_${lang}_FLAGS_RELEASE}" STREQUAL "-Os -DNDEBUG")
    set(CMAKE_${lang}_FLAGS_RELEASE "-Os -g -DNDEBUG" CACHE STRING "Flags of Release builds" FORCE)
  endif()
endforeach()
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh")
