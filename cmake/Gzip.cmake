# cmake -DINPUT=file -DOUTPUT=file.gz -P Gzip.cmake: compresses the way Debian wants (gzip -9,
# no name or time stamp inside, so every build gives the same bytes).
find_program(GZIP gzip REQUIRED)
execute_process(COMMAND ${GZIP} -9nc "${INPUT}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot compress ${INPUT}")
endif()
