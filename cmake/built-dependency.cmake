# tilvane_built_dependency(NAME): the prefix of a library that scripts/build-NAME.sh builds from
# Debian's source packages, run here when its stamp is missing: build/deps/NAME-mingw
# cross-compiled for the Windows build, or build/deps/NAME-fuzz instrumented for the fuzz build.
# Sets TILVANE_<NAME>_PREFIX (upper case).
function(tilvane_built_dependency name)
  if(WIN32)
    set(flavour mingw)
  else()
    set(flavour fuzz)
  endif()
  set(prefix ${CMAKE_SOURCE_DIR}/build/deps/${name}-${flavour})
  if(NOT EXISTS ${prefix}/.built)
    execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/build-${name}.sh ${flavour} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "scripts/build-${name}.sh ${flavour} could not build ${name}")
    endif()
  endif()
  string(TOUPPER ${name} upper)
  set(TILVANE_${upper}_PREFIX ${prefix} PARENT_SCOPE)
endfunction()
