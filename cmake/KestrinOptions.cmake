# Compiler settings shared by every target of the three trees.

add_compile_options(-Wall -Wextra)
if(KESTRIN_WERROR)
  add_compile_options(-Werror)
endif()

if(KESTRIN_NATIVE)
  # The portable code runs its tests under the sanitizers; benchmarks are
  # measured in a tree without them (scripts/bench).
  option(KESTRIN_SANITIZE "Build with AddressSanitizer and UBSan" ON)
endif()

if(KESTRIN_NATIVE AND NOT KESTRIN_SANITIZE)
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE Release CACHE STRING "" FORCE)
  endif()
elseif(KESTRIN_NATIVE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined -g)
  add_link_options(-fsanitize=address,undefined)
elseif(WIN32)
  enable_language(RC)
  # The resource scripts are UTF-8 (the Russian texts); windres must be told.
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
  add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 WINVER=0x0501)
  # Every program must run on a bare system: no runtime DLL beside the exe.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Release builds are small and stripped; the size of the programs matters.
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE MinSizeRel CACHE STRING "" FORCE)
  endif()
  add_link_options($<$<CONFIG:MinSizeRel,Release>:-s>)
else()
  message(FATAL_ERROR "Configure with a cmake/toolchain-*.cmake file, or with -DKESTRIN_NATIVE=ON")
endif()
