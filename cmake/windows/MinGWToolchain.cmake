# Cross-build for Windows with Debian's MinGW-w64 toolchain (posix threads flavour). Included by the
# per-architecture toolchain files, which set NARV_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)  # Windows 7 and later
set(CMAKE_C_COMPILER ${NARV_MINGW_TRIPLE}-gcc-posix)  # GoogleTest's project also enables C
set(CMAKE_CXX_COMPILER ${NARV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NARV_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${NARV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Boost is used header-only. Debian ships its headers for the host only; a directory that holds just
# the boost/ tree keeps the host's C library headers out of the Windows compiler's search path.
set(narv_boost_headers ${CMAKE_BINARY_DIR}/host-boost)
if(NOT EXISTS ${narv_boost_headers}/boost)
  file(MAKE_DIRECTORY ${narv_boost_headers})
  file(CREATE_LINK /usr/include/boost ${narv_boost_headers}/boost SYMBOLIC)
endif()
set(Boost_INCLUDE_DIR ${narv_boost_headers} CACHE PATH "Boost headers (host copy, header-only use)")
set(Boost_NO_BOOST_CMAKE ON)
set(Boost_NO_SYSTEM_PATHS ON)

# Winsock 2 on Windows 7 and later, and the C library's re-entrant localtime_r (MinGW-w64 maps it onto
# localtime_s) as on Linux. Every library and program links its C++ runtime, libgcc and the
# threads library statically, so a DLL needs nothing beside it but system DLLs.
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWIN32_LEAN_AND_MEAN -D_POSIX_THREAD_SAFE_FUNCTIONS=200112L")
set(CMAKE_C_FLAGS_INIT "${CMAKE_CXX_FLAGS_INIT}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Programs and DLLs side by side, so that a test program finds the libraries it was linked with.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Test programs run under Wine, in a private prefix inside the build directory.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../tools/windows/wine-run.sh)
