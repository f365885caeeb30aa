# Delay-loaded system DLLs. Loading a DLL at process start costs Wine and Windows time before
# the first window; the DLLs that only later steps use (downloading, shell operations, the
# network card's address, COM automation types) are loaded at their first call instead.
# zv_delay_import(<name> <dll>) makes the target zv_delay_<name>: an import library with the same
# functions as the toolchain's lib<name>.a whose calls load the DLL on first use. Link it in
# place of <name>. Only functions are delay-loaded; these DLLs export no data that we use.
function(zv_delay_import name dll)
  set(target zv_delay_${name})
  if(TARGET ${target})
    return()
  endif()
  string(REGEX REPLACE "-g\\+\\+(-posix)?$" "" triple_tool ${CMAKE_CXX_COMPILER})
  set(nm ${triple_tool}-nm)
  set(dlltool ${triple_tool}-dlltool)
  find_library(import_lib NAMES lib${name}.a ${name} PATHS ${CMAKE_FIND_ROOT_PATH}/lib NO_CACHE REQUIRED)
  # 64-bit: "__imp_Name"; 32-bit: "__imp__Name@N", whose import name drops the decoration.
  set(prefix "__imp_")
  set(kill_at "")
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(prefix "__imp__")
    set(kill_at --kill-at)
  endif()
  execute_process(COMMAND ${nm} ${import_lib} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL " I ${prefix}[A-Za-z0-9_@?]+" imports "${symbols}")
  set(def "LIBRARY ${dll}\nEXPORTS\n")
  foreach(entry ${imports})
    string(REGEX REPLACE "^ I ${prefix}" "" function "${entry}")
    string(APPEND def "${function}\n")
  endforeach()
  set(dir ${CMAKE_BINARY_DIR}/delay)
  file(WRITE ${dir}/${name}.def "${def}")
  execute_process(COMMAND ${dlltool} ${kill_at} --input-def ${dir}/${name}.def --dllname ${dll}
                          --output-delaylib ${dir}/lib${name}_delay.a
                  COMMAND_ERROR_IS_FATAL ANY)
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${dir}/lib${name}_delay.a)
endfunction()

zv_delay_import(shell32 shell32.dll)
zv_delay_import(oleaut32 oleaut32.dll)
zv_delay_import(ws2_32 ws2_32.dll)
zv_delay_import(iphlpapi iphlpapi.dll)
zv_delay_import(urlmon urlmon.dll)
zv_delay_import(wininet wininet.dll)
