# Shared part of the two mingw-w64 toolchain files.
# The -posix compilers: GoogleTest needs std::mutex, which the -win32 thread
# model lacks. Everything is linked statically so that the programs import
# only DLLs that every Windows has.
set(CMAKE_C_COMPILER ${NX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NX_MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${NX_MINGW_TRIPLE}-objdump)
set(CMAKE_STRIP ${NX_MINGW_TRIPLE}-strip)
set(CMAKE_FIND_ROOT_PATH /usr/${NX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
endif()
