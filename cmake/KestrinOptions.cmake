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
  # The product runs on Windows 95, 98 and Me: interfaces of later systems do
  # not even compile. (Test programs may raise this for themselves.)
  add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0400 WINVER=0x0400)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The 486, which Windows 95 and 98 run on, and so every Pentium, K6 and
    # Cyrix: no CMOV, FCOMI, MMX or SSE (kestrin_shipped_program checks the
    # programs). The runtime the programs link is built for it too
    # (scripts/lib/runtime.sh): its start-up objects and libraries come before
    # Debian's, which are built for the Pentium Pro.
    set(KESTRIN_RUNTIME "" CACHE PATH "The 486 runtime's folder (scripts/runtime makes it)")
    if(NOT EXISTS "${KESTRIN_RUNTIME}/libgcc.a")
      message(FATAL_ERROR "The 32-bit programs link the 486 runtime: make it with scripts/runtime and "
                          "configure with -DKESTRIN_RUNTIME=<its lib folder> (see CONTRIBUTING.md)")
    endif()
    add_compile_options(-march=i486 -mno-mmx -mno-sse)
    add_link_options(-B${KESTRIN_RUNTIME}/ -L${KESTRIN_RUNTIME})
    # A program of C++ code linked by the C driver (the shipped ones) would
    # get libstdc++ and the shared libgcc from CMake otherwise.
    set(CMAKE_CXX_IMPLICIT_LINK_LIBRARIES "")
    set(CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES "")
  endif()
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

# kestrin_shipped_program(TARGET [MAX_BYTES n]): a program a user runs. In the
# 32-bit tree, which Windows 9x runs, every link is checked: imports only of
# what Windows 95 exports (the lists in cmake/win95) and no wide-character
# stub, no instruction a 486 lacks, and at most MAX_BYTES in a stripped build.
function(kestrin_shipped_program target)
  cmake_parse_arguments(P "" "MAX_BYTES" "" ${ARGN})
  if(NOT WIN32 OR NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    return()
  endif()
  # Linked by the C driver, so that no part of libstdc++ comes in unasked:
  # the C++ runtime is our libsupc++ (see the top CMakeLists.txt), and
  # anything more of the C++ library fails the link.
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE C)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${KESTRIN_RUNTIME}/libgcc.a)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  target_link_options(${target} PRIVATE -Wl,-Map,${map})
  set(limit "")
  if(P_MAX_BYTES AND CMAKE_BUILD_TYPE MATCHES "MinSizeRel|Release")
    set(limit -DMAX_BYTES=${P_MAX_BYTES})
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DIMAGE=$<TARGET_FILE:${target}> -DMAP=${map} -DOBJDUMP=${CMAKE_OBJDUMP}
            -DLISTS=${CMAKE_SOURCE_DIR}/cmake/win95 ${limit} -P ${CMAKE_SOURCE_DIR}/cmake/CheckShippedProgram.cmake
    VERBATIM)
endfunction()
