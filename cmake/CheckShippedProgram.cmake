cmake_minimum_required(VERSION 3.25)
# cmake -DIMAGE=prog.exe -DMAP=prog.map -DOBJDUMP=objdump -DLISTS=dir [-DMAX_BYTES=n]
#       -P CheckShippedProgram.cmake
# Fails, naming each offender, unless a program we ship can start on Windows 95
# and run on a 486, and is no larger than MAX_BYTES when that is given:
#   - it imports only from the DLLs that have a list in LISTS (<DLL>.txt, one
#     name a line, # for comments), and only names on those lists: the loader
#     of Windows 95/98/Me refuses a program that imports anything else;
#   - it imports no wide-character function of KERNEL32, USER32, GDI32 or
#     ADVAPI32: Windows 9x exports those as stubs that only fail;
#   - its code holds no instruction the 486 lacks: CMOVcc, FCMOVcc, FCOMI and
#     kin, the long NOPs (0F 1F), RDTSC, RDPMC, CMPXCHG8B, SYSENTER/SYSEXIT,
#     and no MMX, SSE, 3DNow! or AVX instruction. Each is traced through the
#     map to the object it was linked from.
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
    set(function "${CMAKE_MATCH_1}")
    math(EXPR count "${count} + 1")
    if(NOT function IN_LIST allowed)
      list(APPEND faults "  ${dll}: ${function}")
    elseif(key MATCHES "^(KERNEL32|USER32|GDI32|ADVAPI32)$" AND function MATCHES "[a-z0-9]W$")
      list(APPEND faults "  ${dll}: ${function}, a wide-character stub on Windows 9x")
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
# What a 486 lacks. The MMX, SSE and AVX registers (and 3DNow!'s, which are
# MMX's), the instructions of those sets that name no such register, and the
# Pentium's and Pentium Pro's own: objdump shows the long NOPs (0F 1F) as
# nopl/nopw.
set(beyond486 "%[xyz]?mm[0-9]|[\t ](emms|femms|sfence|lfence|mfence|prefetch[a-z0-9]*|ldmxcsr|stmxcsr|movnti|clflush|maskmovq|vzeroupper|vzeroall|cmov[a-z]+|fcmov[a-z]+|fu?comip?|nop[lw]|rdtscp?|rdpmc|cmpxchg8b|sysenter|sysexit)( |$)")
string(REGEX MATCHALL "[^\n]*(${beyond486})[^\n]*" hits "${code}")
list(LENGTH hits beyondCount)
if(beyondCount GREATER 0)
  # Where each comes from: the input sections of the code in the map, one line
  # each or, for a long section name, the name alone and the rest on the next.
  file(STRINGS "${MAP}" mapLines)
  set(starts "")
  set(ends "")
  set(inputs "")
  set(named OFF)
  foreach(line IN LISTS mapLines)
    if(line MATCHES "^ \\.text[^ ]*$")
      set(named ON)
      continue()
    endif()
    # (Two tests, not one with OR: CMake evaluates both, and the second
    # failing match would clear the first one's groups.)
    set(section OFF)
    if(line MATCHES "^ \\.text[^ ]* +0x([0-9a-f]+) +0x([0-9a-f]+) (.+)$")
      set(section ON)
    elseif(named AND line MATCHES "^ +0x([0-9a-f]+) +0x([0-9a-f]+) (.+)$")
      set(section ON)
    endif()
    if(section)
      math(EXPR first "0x${CMAKE_MATCH_1}")
      math(EXPR last "0x${CMAKE_MATCH_1} + 0x${CMAKE_MATCH_2}")
      if(first GREATER 0 AND last GREATER first)
        list(APPEND starts ${first})
        list(APPEND ends ${last})
        list(APPEND inputs "${CMAKE_MATCH_3}")
      endif()
    endif()
    set(named OFF)
  endforeach()
  list(LENGTH starts sectionCount)
  math(EXPR lastSection "${sectionCount} - 1")
  # Per input: how many, and the first one found.
  set(sources "")
  set(counts "")
  set(examples "")
  foreach(hit IN LISTS hits)
    string(REGEX MATCH "^ *([0-9a-f]+):[\t ]*(.*)$" parts "${hit}")
    set(where "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "[\t ]+" " " instruction "${CMAKE_MATCH_2}")
    math(EXPR address "0x${where}")
    set(source "an input the map does not show")
    if(sectionCount GREATER 0)
      foreach(i RANGE ${lastSection})
        list(GET starts ${i} first)
        list(GET ends ${i} last)
        if(NOT address LESS first AND address LESS last)
          list(GET inputs ${i} source)
          break()
        endif()
      endforeach()
    endif()
    list(FIND sources "${source}" at)
    if(at EQUAL -1)
      list(APPEND sources "${source}")
      list(APPEND counts 1)
      list(APPEND examples "${where}: ${instruction}")
    else()
      list(GET counts ${at} n)
      math(EXPR n "${n} + 1")
      list(REMOVE_AT counts ${at})
      list(INSERT counts ${at} ${n})
    endif()
  endforeach()
  set(lines "")
  list(LENGTH sources sourceCount)
  math(EXPR lastSource "${sourceCount} - 1")
  foreach(i RANGE ${lastSource})
    list(GET sources ${i} source)
    list(GET counts ${i} n)
    list(GET examples ${i} example)
    list(APPEND lines "    ${n} in ${source} (${example})")
  endforeach()
  list(JOIN lines "\n" lines)
  list(APPEND faults "  ${beyondCount} instructions a 486 does not have:\n${lines}")
endif()

if(faults)
  list(JOIN faults "\n" faults)
  message(FATAL_ERROR "${name} would not run on Windows 95 on a 486:\n${faults}")
endif()
message(STATUS "${name}: ${count} imports, all exported by Windows 95, none a wide-character stub; "
               "no instruction beyond the 486")
