# libjpeg for the core's JPEG codec, as the imported target JPEG::JPEG.
# Native builds use the system's library; the Windows build links a static one that
# scripts/build-libjpeg.sh cross-compiles from Debian's source package once per checkout, and
# the fuzz build one that it builds from the same source with the fuzzers' instrumentation.
if(WIN32 OR TILVANE_FUZZ)
  if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/mingw-dependency.cmake)
    tilvane_mingw_dependency(libjpeg)
  else()
    set(TILVANE_LIBJPEG_PREFIX ${CMAKE_SOURCE_DIR}/build/deps/libjpeg-fuzz)
    if(NOT EXISTS ${TILVANE_LIBJPEG_PREFIX}/.built)
      message(FATAL_ERROR "Run scripts/build-libjpeg.sh fuzz first: the fuzz build links an instrumented libjpeg")
    endif()
  endif()
  add_library(JPEG::JPEG STATIC IMPORTED)
  set_target_properties(JPEG::JPEG PROPERTIES
    IMPORTED_LOCATION ${TILVANE_LIBJPEG_PREFIX}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${TILVANE_LIBJPEG_PREFIX}/include)
else()
  find_package(JPEG REQUIRED)
endif()
