# Cross build for Windows with Debian's mingw-w64 (i686-w64-mingw32, win32 thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Doubles are computed as IEEE doubles, with SSE2 (every Windows since 8 requires it), as on
# every other build: with the x87 unit's extended precision, (int)(59.94 * 100) is 5993 and the
# table would store other numbers than the 64-bit and Linux builds for the same input. The stack
# of a callback from Windows may be aligned to 4 bytes only; this compiler realigns where SSE
# needs more (-mstackrealign is its default).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
