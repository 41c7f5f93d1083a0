# Cross-compiling the system as real 64-bit Windows modules with mingw-w64.
# The -posix compiler variant has std::mutex (GoogleTest needs it); -static
# keeps the runtime libraries inside each module, so no runtime DLL has to be
# copied next to them. Programs built here run under Wine through the wrapper.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAPORA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAPORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAPORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TAPORA_MINGW_PREFIX}-windres)
set(CMAKE_DLLTOOL ${TAPORA_MINGW_PREFIX}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${TAPORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh")
