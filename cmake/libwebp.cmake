# libwebp, with its demuxer for animations' first frames, for the core's WebP codec, as the
# imported target WebP::WebP.
# Native builds use the system's libraries; the Windows build links static ones that
# scripts/build-libwebp.sh cross-compiles from Debian's source package once per checkout, and
# the fuzz build ones that it builds from the same source with the fuzzers' instrumentation.
if(WIN32 OR TILVANE_FUZZ)
  include(${CMAKE_CURRENT_LIST_DIR}/built-dependency.cmake)
  tilvane_built_dependency(libwebp)
  add_library(WebP::Core STATIC IMPORTED)
  set_target_properties(WebP::Core PROPERTIES
    IMPORTED_LOCATION ${TILVANE_LIBWEBP_PREFIX}/lib/libwebp.a
    INTERFACE_INCLUDE_DIRECTORIES ${TILVANE_LIBWEBP_PREFIX}/include)
  add_library(WebP::WebP STATIC IMPORTED)
  set_target_properties(WebP::WebP PROPERTIES
    IMPORTED_LOCATION ${TILVANE_LIBWEBP_PREFIX}/lib/libwebpdemux.a
    INTERFACE_LINK_LIBRARIES WebP::Core)
else()
  find_path(TILVANE_WEBP_INCLUDE webp/decode.h REQUIRED)
  find_library(TILVANE_WEBP_LIBRARY webp REQUIRED)
  find_library(TILVANE_WEBPDEMUX_LIBRARY webpdemux REQUIRED)
  add_library(WebP::Core UNKNOWN IMPORTED)
  set_target_properties(WebP::Core PROPERTIES
    IMPORTED_LOCATION ${TILVANE_WEBP_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${TILVANE_WEBP_INCLUDE})
  add_library(WebP::WebP UNKNOWN IMPORTED)
  set_target_properties(WebP::WebP PROPERTIES
    IMPORTED_LOCATION ${TILVANE_WEBPDEMUX_LIBRARY}
    INTERFACE_LINK_LIBRARIES WebP::Core)
endif()
