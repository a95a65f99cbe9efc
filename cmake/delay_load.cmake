# Import libraries whose DLL loads at the first call into it rather than at process
# start, so start-up does not pay for DLLs that a run uses late or never. Made at
# configure time from the toolchain's own import library: every export it names.
#   tovel_delay_import_library(<variable> <dll name without .dll>)
function(tovel_delay_import_library out_var dll)
  set(dir ${CMAKE_BINARY_DIR}/delay-imports)
  set(lib ${dir}/lib${dll}_delay.a)
  if(NOT EXISTS ${lib})
    find_library(_implib_${dll} NAMES ${dll} REQUIRED)
    execute_process(COMMAND ${CMAKE_NM} ${_implib_${dll}} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
    list(TRANSFORM imports REPLACE " I __imp_" "")
    list(REMOVE_DUPLICATES imports)
    list(JOIN imports "\n" exports)
    file(WRITE ${dir}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${dll}.def --dllname ${dll}.dll
                            --output-delaylib ${lib} COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(${out_var} ${lib} PARENT_SCOPE)
endfunction()
