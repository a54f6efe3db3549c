# The shipped build: 32-bit Windows programs from MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
# The posix thread model gives the C++ runtime its std::mutex (GoogleTest needs
# it); the programs themselves use Win32 threads. Linked statically either way.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# 32-bit code cannot run on these machines, so this tree builds but runs nothing.
set(TESSEL_CAN_RUN_WINDOWS OFF)
