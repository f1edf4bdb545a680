# Cross-compiling for 64-bit Windows on Debian with the MinGW-w64 toolchain (posix thread model).
# Programs are linked statically, so the zip needs no DLL. Built programs that the build itself
# runs (the boundary-file generator, the test discovery) run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

# Libraries and packages only from the MinGW tree and the prefixes named in CMAKE_PREFIX_PATH
# (freeglut and Google Test built for MinGW), never the Linux ones.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# access() as POSIX has it: the C library of Windows Vista and later refuses X_OK (which the
# generator asks for a folder) as an invalid argument; MinGW's replacement ignores it.
set(CMAKE_C_FLAGS_INIT -D__USE_MINGW_ACCESS)
set(CMAKE_CXX_FLAGS_INIT -D__USE_MINGW_ACCESS)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -s")

# Quiet Wine, and no offer to install its .NET and HTML engines, which nothing here needs.
find_program(wine_program NAMES wine64 wine)
if(wine_program)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= ${wine_program})
endif()
