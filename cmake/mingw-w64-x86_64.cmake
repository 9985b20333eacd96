# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUIBBO_MINGW_PREFIX x86_64-w64-mingw32)

# The win32 thread model: the game needs no std::thread, and it keeps the exe free of winpthread.
find_program(CMAKE_C_COMPILER NAMES ${QUIBBO_MINGW_PREFIX}-gcc-win32 ${QUIBBO_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QUIBBO_MINGW_PREFIX}-g++-win32 ${QUIBBO_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QUIBBO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUIBBO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
