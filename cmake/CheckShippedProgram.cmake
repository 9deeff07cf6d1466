cmake_minimum_required(VERSION 3.25)
# cmake -DIMAGE=prog.exe -DMAP=prog.map -DOBJDUMP=objdump -DLISTS=dir [-DMAX_BYTES=n]
#       -P CheckShippedProgram.cmake
# Fails unless a program we ship can start on Windows 95 and run on a Pentium
# Pro, and is no larger than MAX_BYTES when that is given:
#   - it imports only from the DLLs that have a list in LISTS (<DLL>.txt, one
#     name a line, # for comments), and only names on those lists: the loader
#     of Windows 95/98/Me refuses a program that imports anything else;
#   - its code holds no MMX or SSE instruction (nor 3DNow!, AVX).
# MAP is the linker's map of the image: the code ends where the constructor
# list begins, and the exception tables behind it are data, not instructions.

function(read_list file out)
  file(STRINGS "${file}" lines)
  set(names "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line AND NOT line MATCHES "^#")
      list(APPEND names "${line}")
    endif()
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

get_filename_component(name "${IMAGE}" NAME)
execute_process(COMMAND "${OBJDUMP}" -p "${IMAGE}" OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${IMAGE} failed")
endif()

if(MAX_BYTES)
  file(SIZE "${IMAGE}" size)
  if(size GREATER MAX_BYTES)
    message(FATAL_ERROR "${name} is ${size} bytes, more than the ${MAX_BYTES} allowed")
  endif()
endif()

# ---- imports -----------------------------------------------------------------

set(faults "")
set(dll "")
set(count 0)
string(REPLACE "\n" ";" lines "${dump}")
foreach(line IN LISTS lines)
  if(line MATCHES "DLL Name: (.+)$")
    set(dll "${CMAKE_MATCH_1}")
    string(TOUPPER "${dll}" key)
    string(REGEX REPLACE "\\.DLL$" "" key "${key}")
    if(EXISTS "${LISTS}/${key}.txt")
      read_list("${LISTS}/${key}.txt" allowed)
    else()
      list(APPEND faults "  ${dll}: not a DLL the program may import on Windows 95")
      set(allowed "")
    endif()
  elseif(dll AND line MATCHES "^\t[0-9a-f]+\t +[0-9]+ +([A-Za-z_@?$][A-Za-z0-9_@?$]*)$")
    math(EXPR count "${count} + 1")
    if(NOT CMAKE_MATCH_1 IN_LIST allowed)
      list(APPEND faults "  ${dll}: ${CMAKE_MATCH_1}")
    endif()
  elseif(dll AND line MATCHES "^\t[0-9a-f]+\t +<none> +<none>$|Ordinal")
    list(APPEND faults "  ${dll}: an import by ordinal")
  elseif(line MATCHES "^$|^ [0-9a-f]+\t")
    # between two DLLs' tables
  elseif(NOT line MATCHES "^\t")
    set(dll "")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${name}: no imports found in the output of ${OBJDUMP} -p")
endif()

# ---- instructions --------------------------------------------------------------

file(STRINGS "${MAP}" ctorLines REGEX "___CTOR_LIST__ = \\.")
if(NOT ctorLines MATCHES "0x([0-9a-f]+)")
  message(FATAL_ERROR "${MAP}: the constructor list, where the code ends, is not in the map")
endif()
execute_process(COMMAND "${OBJDUMP}" -d --no-show-raw-insn --stop-address=0x${CMAKE_MATCH_1} "${IMAGE}"
  OUTPUT_VARIABLE code RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -d ${IMAGE} failed")
endif()
# MMX and SSE registers (AVX's ymm too), and those of their instructions that
# name no such register.
set(vector "%[xy]?mm[0-9]|\t(emms|femms|sfence|lfence|mfence|prefetch[a-z0-9]*|ldmxcsr|stmxcsr|movnti|clflush|maskmovq)( |$)")
string(REGEX MATCHALL "[^\n]*(${vector})[^\n]*" hits "${code}")
list(LENGTH hits vectorCount)
if(vectorCount GREATER 0)
  list(SUBLIST hits 0 5 shown)
  list(JOIN shown "\n  " shown)
  list(APPEND faults "  ${vectorCount} MMX/SSE instructions, the first:\n  ${shown}")
endif()

if(faults)
  list(JOIN faults "\n" faults)
  message(FATAL_ERROR "${name} would not run on Windows 95 on a Pentium Pro:\n${faults}")
endif()
message(STATUS "${name}: ${count} imports, all exported by Windows 95; no MMX or SSE instructions")
