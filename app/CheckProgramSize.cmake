# Fails when the program file given as FILE is larger than LIMIT bytes.
# Run after the link (cmake -DFILE=... -DLIMIT=... -P CheckProgramSize.cmake).
file(SIZE "${FILE}" size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${FILE} is ${size} bytes, more than the ${LIMIT} allowed")
endif()
