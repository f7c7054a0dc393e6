# Runs pngdump on a good and a broken suite file and checks the shape of what it prints.
function(run_pngdump file out_var rc_var)
  if(EMULATOR)
    execute_process(COMMAND ${EMULATOR} ${PNGDUMP} ${file} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  else()
    execute_process(COMMAND ${PNGDUMP} ${file} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  endif()
  string(REPLACE "\r" "" out "${out}")
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${rc_var} "${rc}" PARENT_SCOPE)
endfunction()

# basn3p04: 32 x 32 palette image, 4 bits.
run_pngdump(${SUITE}/basn3p04.png out rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "good file: exit ${rc}\n${out}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${out}")
list(LENGTH lines count)
list(GET lines 0 chunks)
list(GET lines 1 header)
list(GET lines 2 transparency)
list(GET lines 3 first_row)
if(NOT count EQUAL 35 OR NOT chunks MATCHES "^chunks IHDR( [A-Za-z]+)* IEND$"
   OR NOT header STREQUAL "IHDR 32 32 4 3 0"
   OR NOT transparency MATCHES "^transparency none [0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f]$"
   OR NOT first_row MATCHES "^row 0:( [0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])+$")
  message(FATAL_ERROR "good file: unexpected output\n${out}")
endif()
string(REPLACE "row 0:" "" first_pixels "${first_row}")
string(REGEX MATCHALL " [0-9a-f]+" pixels "${first_pixels}")
list(LENGTH pixels width)
if(NOT width EQUAL 32)
  message(FATAL_ERROR "good file: ${width} pixels in row 0")
endif()

# xcsn0g01: broken IDAT checksum.
run_pngdump(${SUITE}/xcsn0g01.png out rc)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "chunks IHDR gAMA IDAT\nerror EPngInvalidCRC: This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of data (crc error)\n")
  message(FATAL_ERROR "broken file: exit ${rc}\n${out}")
endif()

run_pngdump(${SUITE}/no-such-file.png out rc)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "missing file: exit ${rc}")
endif()
