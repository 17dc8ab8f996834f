# tilvane_mingw_dependency(NAME): the prefix build/deps/NAME-mingw of a library that
# scripts/build-NAME.sh cross-compiles from Debian's source packages for the Windows build, run
# here when its stamp is missing. Sets TILVANE_<NAME>_PREFIX (upper case).
function(tilvane_mingw_dependency name)
  set(prefix ${CMAKE_SOURCE_DIR}/build/deps/${name}-mingw)
  if(NOT EXISTS ${prefix}/.built)
    execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/build-${name}.sh RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "scripts/build-${name}.sh could not build ${name} for Windows")
    endif()
  endif()
  string(TOUPPER ${name} upper)
  set(TILVANE_${upper}_PREFIX ${prefix} PARENT_SCOPE)
endfunction()
