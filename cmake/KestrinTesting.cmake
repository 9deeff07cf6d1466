# Test programs: GoogleTest built from Debian's sources with this tree's
# compiler; in the cross trees CTest runs every test program through Wine.

include(CTest)

set(KESTRIN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")

if(BUILD_TESTING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
  add_subdirectory(${KESTRIN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(t gtest gtest_main)
    # Warnings of third-party code are not ours to fix.
    target_compile_options(${t} PRIVATE -w)
  endforeach()
  if(WIN32)
    # The win32 thread model has neither std::mutex nor std::thread. GoogleTest
    # needs them for one class only, which we supply (GTestNotification.h);
    # tests that need a second thread start it with CreateThread.
    target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
    target_compile_options(gtest PUBLIC -include ${CMAKE_SOURCE_DIR}/tests/support/GTestNotification.h)
  endif()
endif()

if(WIN32)
  # Its own prefix per tree, made on first use (see cmake/wine-run). The
  # 32-bit programs are the ones Windows 9x runs: their prefix reports
  # Windows 98.
  set(KESTRIN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(KESTRIN_WINDOWS "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(KESTRIN_WINDOWS win98)
  endif()
  set(KESTRIN_WINE_ENVIRONMENT "WINEPREFIX=${KESTRIN_WINEPREFIX}" "KESTRIN_WINDOWS=${KESTRIN_WINDOWS}")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run)
endif()

# kestrin_add_test(NAME n SOURCES ... [LIBS ...] [TIMEOUT s] [LABELS ...])
# A GoogleTest program registered as one CTest test.
function(kestrin_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT BUILD_TESTING)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} kestrin_test_support gtest_main gtest)
  if(WIN32)
    # Console programs: the test's output reaches CTest.
    target_link_options(${T_NAME} PRIVATE -mconsole)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(WIN32)
    set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT ${KESTRIN_WINE_ENVIRONMENT})
    # Tests in one prefix share its registry: never run two at once.
    set_property(TEST ${T_NAME} APPEND PROPERTY RESOURCE_LOCK wineprefix)
  endif()
  if(T_LABELS)
    set_property(TEST ${T_NAME} APPEND PROPERTY LABELS ${T_LABELS})
  endif()
endfunction()

# kestrin_add_russian_run(PROGRAM p FILTER f [NAME n]): the Russian tests of
# a test program again, with Windows-1251 as the ANSI code page, where the
# Russian wording must come out byte for byte. Named p_ru unless NAME says.
function(kestrin_add_russian_run)
  cmake_parse_arguments(R "" "PROGRAM;FILTER;NAME" "" ${ARGN})
  if(NOT BUILD_TESTING OR NOT WIN32)
    return()
  endif()
  if(NOT R_NAME)
    set(R_NAME ${R_PROGRAM}_ru)
  endif()
  add_test(NAME ${R_NAME} COMMAND ${R_PROGRAM} --gtest_color=no --gtest_filter=${R_FILTER})
  set_tests_properties(${R_NAME} PROPERTIES
    ENVIRONMENT "LC_ALL=ru_RU.CP1251;KESTRIN_EXPECT_CP1251=1;${KESTRIN_WINE_ENVIRONMENT}"
    RESOURCE_LOCK wineprefix
    TIMEOUT 300)
endfunction()

# kestrin_add_fuzzer(NAME n SOURCES ... [LIBS ...] [CORPUS dir] [SECONDS s])
# libFuzzer target of the native tree, run by CTest for a bounded time.
function(kestrin_add_fuzzer)
  cmake_parse_arguments(F "" "NAME;CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT KESTRIN_NATIVE OR NOT BUILD_TESTING OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  add_executable(${F_NAME} ${F_SOURCES})
  target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  if(NOT F_SECONDS)
    set(F_SECONDS 20)
  endif()
  # Newly found inputs go to a scratch folder; the checked-in seeds stay as they are.
  set(work ${CMAKE_BINARY_DIR}/fuzz/${F_NAME})
  file(MAKE_DIRECTORY ${work})
  add_test(NAME ${F_NAME}
           COMMAND ${F_NAME} -max_total_time=${F_SECONDS} -timeout=10 -rss_limit_mb=2048
                   -print_final_stats=1 ${work} ${F_CORPUS})
  math(EXPR limit "${F_SECONDS} + 120")
  set_tests_properties(${F_NAME} PROPERTIES TIMEOUT ${limit} LABELS fuzz)
endfunction()

# kestrin_add_benchmark(NAME n SOURCES ... [LIBS ...])
# Google Benchmark program of the native tree; scripts/bench runs them.
function(kestrin_add_benchmark)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT KESTRIN_NATIVE)
    return()
  endif()
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    message(WARNING "Google Benchmark not found: ${B_NAME} is not built")
    return()
  endif()
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
  set_property(GLOBAL APPEND PROPERTY KESTRIN_BENCHMARKS ${B_NAME})
endfunction()
