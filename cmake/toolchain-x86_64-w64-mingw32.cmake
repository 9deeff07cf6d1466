# Cross-compiling for Windows with Debian's mingw-w64 (x86_64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KESTRIN_TRIPLET x86_64-w64-mingw32)
# The posix thread model: GoogleTest needs std::mutex, which the win32 model
# lacks. Its threading library is linked statically like the rest.
set(CMAKE_C_COMPILER   ${KESTRIN_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRIN_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${KESTRIN_TRIPLET}-windres)
set(CMAKE_STRIP        ${KESTRIN_TRIPLET}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${KESTRIN_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
