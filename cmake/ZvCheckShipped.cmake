# Test script: the program as built is small enough to ship, stripped, and points at its
# symbol file beside it, which holds line information of the framework (ui/) and the setup
# program (setup/).
#   cmake -DPROGRAM=<exe> -DLIMIT=<bytes> -DOBJDUMP=<objdump> -DSOURCES=<source folder> -P ZvCheckShipped.cmake
file(SIZE "${PROGRAM}" size)
math(EXPR kib "${size} / 1024")
message(STATUS "${PROGRAM}: ${size} bytes (${kib} KiB), limit ${LIMIT}")
if(size GREATER LIMIT)
  message(FATAL_ERROR "${PROGRAM} is ${size} bytes as built, over the limit of ${LIMIT}")
endif()
if(NOT EXISTS "${PROGRAM}.debug")
  message(FATAL_ERROR "No symbol file beside ${PROGRAM}")
endif()
file(SIZE "${PROGRAM}.debug" debug_size)
if(debug_size LESS size)
  message(FATAL_ERROR "${PROGRAM}.debug holds ${debug_size} bytes: no symbols in it")
endif()
get_filename_component(name "${PROGRAM}" NAME)
file(STRINGS "${PROGRAM}" link LIMIT_COUNT 1 REGEX "${name}\\.debug")
if(NOT link)
  message(FATAL_ERROR "${PROGRAM} does not name ${name}.debug")
endif()

# Compile units as objdump lists them (top level only): each names its source and, with -g, its
# line table (DW_AT_stmt_list).
execute_process(COMMAND "${OBJDUMP}" --dwarf=info --dwarf-depth=1 "${PROGRAM}.debug"
  OUTPUT_VARIABLE dwarf ERROR_VARIABLE dwarf_errors RESULT_VARIABLE dwarf_result)
if(NOT dwarf_result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} could not read ${PROGRAM}.debug: ${dwarf_errors}")
endif()
string(REPLACE ";" "," dwarf "${dwarf}")
string(REPLACE "Compilation Unit @" ";" units "${dwarf}")
foreach(area ui setup)
  set(found 0)
  foreach(unit IN LISTS units)
    if(unit MATCHES "DW_AT_name[^\n]*${SOURCES}/${area}/[^\n]*\\.cpp" AND unit MATCHES "DW_AT_stmt_list")
      math(EXPR found "${found} + 1")
    endif()
  endforeach()
  message(STATUS "${PROGRAM}.debug: ${found} compile units with line tables from ${area}/")
  if(found EQUAL 0)
    message(FATAL_ERROR "${PROGRAM}.debug holds no line information of ${SOURCES}/${area}")
  endif()
endforeach()
