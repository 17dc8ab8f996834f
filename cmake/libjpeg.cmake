# libjpeg for the core's JPEG codec, as the imported target JPEG::JPEG.
# Native builds use the system's library; the Windows build links a static one that
# scripts/build-libjpeg.sh cross-compiles from Debian's source package once per checkout, and
# the fuzz build one that it builds from the same source with the fuzzers' instrumentation.
if(WIN32 OR TILVANE_FUZZ)
  include(${CMAKE_CURRENT_LIST_DIR}/built-dependency.cmake)
  tilvane_built_dependency(libjpeg)
  add_library(JPEG::JPEG STATIC IMPORTED)
  set_target_properties(JPEG::JPEG PROPERTIES
    IMPORTED_LOCATION ${TILVANE_LIBJPEG_PREFIX}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${TILVANE_LIBJPEG_PREFIX}/include)
else()
  find_package(JPEG REQUIRED)
endif()
