# Cross-compiling for Windows with Debian's mingw-w64 (i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(KESTRIN_TRIPLET i686-w64-mingw32)
# The win32 thread model: the posix one links winpthreads, whose imports
# (AddVectoredExceptionHandler, GetTickCount64, ...) Windows 95 lacks. It has
# no std::mutex or std::thread, so GoogleTest is built without its thread
# support (see cmake/KestrinTesting.cmake).
set(CMAKE_C_COMPILER   ${KESTRIN_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${KESTRIN_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER  ${KESTRIN_TRIPLET}-windres)
set(CMAKE_STRIP        ${KESTRIN_TRIPLET}-strip)
set(CMAKE_OBJDUMP      ${KESTRIN_TRIPLET}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${KESTRIN_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
