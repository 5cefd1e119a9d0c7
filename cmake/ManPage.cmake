# cmake -DSOURCE=x.1.txt -DOUTPUT=x.1.gz -DDATE=... -DPROGRAM_SOURCE=... -P ManPage.cmake
# Builds one man page from its plain source (the format is described in man_page.awk) and
# compresses it.
find_program(AWK NAMES awk mawk gawk REQUIRED)
get_filename_component(roff "${OUTPUT}" NAME_WLE)
get_filename_component(folder "${OUTPUT}" DIRECTORY)
set(INPUT "${folder}/${roff}")
file(MAKE_DIRECTORY "${folder}")
execute_process(
  COMMAND ${AWK} -v "date=${DATE}" -v "source=${PROGRAM_SOURCE}" -v "manual=User Commands"
          -f ${CMAKE_CURRENT_LIST_DIR}/man_page.awk "${SOURCE}"
  OUTPUT_FILE "${INPUT}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot convert ${SOURCE}")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/Gzip.cmake)
