# libspng with zlib for the core's PNG codec, as the imported target Spng::Spng.
# Native builds use the system's libraries; the Windows build links static ones that
# scripts/build-libspng.sh cross-compiles from Debian's source packages once per checkout, and
# the fuzz build ones that it builds from the same sources with the fuzzers' instrumentation.
if(WIN32 OR TILVANE_FUZZ)
  include(${CMAKE_CURRENT_LIST_DIR}/built-dependency.cmake)
  tilvane_built_dependency(libspng)
  add_library(Spng::Zlib STATIC IMPORTED)
  set_target_properties(Spng::Zlib PROPERTIES IMPORTED_LOCATION ${TILVANE_LIBSPNG_PREFIX}/lib/libz.a)
  add_library(Spng::Spng STATIC IMPORTED)
  set_target_properties(Spng::Spng PROPERTIES
    IMPORTED_LOCATION ${TILVANE_LIBSPNG_PREFIX}/lib/libspng.a
    INTERFACE_INCLUDE_DIRECTORIES ${TILVANE_LIBSPNG_PREFIX}/include
    INTERFACE_COMPILE_DEFINITIONS SPNG_STATIC
    INTERFACE_LINK_LIBRARIES Spng::Zlib)
else()
  find_package(ZLIB REQUIRED)
  find_path(TILVANE_SPNG_INCLUDE spng.h REQUIRED)
  find_library(TILVANE_SPNG_LIBRARY spng REQUIRED)
  add_library(Spng::Spng UNKNOWN IMPORTED)
  set_target_properties(Spng::Spng PROPERTIES
    IMPORTED_LOCATION ${TILVANE_SPNG_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${TILVANE_SPNG_INCLUDE}
    INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
endif()
