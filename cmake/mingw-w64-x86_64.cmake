# Cross-builds the Windows programs (64-bit) with Debian's MinGW-w64:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The POSIX-threads variant of the compiler is used: its libstdc++ has the whole of <thread>
# and <chrono>. Everything of the compiler's own runtime is linked statically, so the programs
# import only system DLLs and run on a clean Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread go into each program instead of beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Lets ctest and test discovery run the programs on this Linux machine, where Wine is there.
find_program(WALKTHROUGH_WINE NAMES wine wine64)
if(WALKTHROUGH_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${WALKTHROUGH_WINE})
endif()
