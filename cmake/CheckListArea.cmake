cmake_minimum_required(VERSION 3.25)
# cmake -DIMAGE=uninst.exe -P CheckListArea.cmake
# Checks the built helper against the setup program's search: searching
# backward from size - 100, the first "FileList" with a zero ninth byte must
# be the pristine 4096-byte area, wholly inside the image.
file(SIZE "${IMAGE}" size)
file(READ "${IMAGE}" hex HEX)
set(marker "46696c654c69737400")   # "FileList" and its zero byte

# The last occurrence at an even hex position at or before size - 100.
math(EXPR limit "(${size} - 100) * 2")
math(EXPR headLength "${limit} + 18")   # a marker starting at the limit is whole
string(SUBSTRING "${hex}" 0 ${headLength} head)
set(found -1)
set(text "${head}")
while(TRUE)
  string(FIND "${text}" "${marker}" pos REVERSE)
  if(pos LESS 0)
    break()
  endif()
  math(EXPR odd "${pos} % 2")
  if(odd EQUAL 0 AND pos LESS_EQUAL limit)
    set(found ${pos})
    break()
  endif()
  # Keep all but the match's last digit: an overlapping match stays findable.
  math(EXPR keep "${pos} + 17")
  string(SUBSTRING "${text}" 0 ${keep} text)
endwhile()

if(found LESS 2)
  message(FATAL_ERROR "${IMAGE}: no list area found searching back from size - 100")
endif()
math(EXPR offset "${found} / 2")
math(EXPR end "${offset} + 4096")
if(end GREATER size)
  message(FATAL_ERROR "${IMAGE}: list area at ${offset} runs past the end of the image (${size})")
endif()
math(EXPR rest "(4096 - 8) * 2")
math(EXPR from "${found} + 16")
string(SUBSTRING "${hex}" ${from} ${rest} tail)
string(REGEX MATCH "^0*$" zeros "${tail}")
if(NOT zeros)
  message(FATAL_ERROR "${IMAGE}: the area at ${offset} is not 'FileList' followed by 4088 zero bytes")
endif()
message(STATUS "${IMAGE}: list area at offset ${offset} of ${size}")
