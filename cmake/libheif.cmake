# libheif with its decoders for the core's HEIF codec, as the imported target Heif::Heif.
# Native builds use the system's library (Debian's, with libde265 for HEIC and its AV1 decoders
# for AVIF); the Windows build links static ones that scripts/build-libheif.sh cross-compiles
# from Debian's source packages once per checkout (libde265 and dav1d built in), and the fuzz
# build ones that it builds from the same sources with the fuzzers' instrumentation (HEIC only).
if(WIN32 OR TILVANE_FUZZ)
  include(${CMAKE_CURRENT_LIST_DIR}/built-dependency.cmake)
  tilvane_built_dependency(libheif)
  find_package(Threads REQUIRED)
  set(decoders Threads::Threads)
  foreach(decoder de265 dav1d)
    if(EXISTS ${TILVANE_LIBHEIF_PREFIX}/lib/lib${decoder}.a)
      add_library(Heif::${decoder} STATIC IMPORTED)
      set_target_properties(Heif::${decoder} PROPERTIES IMPORTED_LOCATION ${TILVANE_LIBHEIF_PREFIX}/lib/lib${decoder}.a)
      list(PREPEND decoders Heif::${decoder})
    endif()
  endforeach()
  add_library(Heif::Heif STATIC IMPORTED)
  set_target_properties(Heif::Heif PROPERTIES
    IMPORTED_LOCATION ${TILVANE_LIBHEIF_PREFIX}/lib/libheif.a
    INTERFACE_INCLUDE_DIRECTORIES ${TILVANE_LIBHEIF_PREFIX}/include
    INTERFACE_LINK_LIBRARIES "${decoders}")
else()
  find_path(TILVANE_HEIF_INCLUDE libheif/heif.h REQUIRED)
  find_library(TILVANE_HEIF_LIBRARY heif REQUIRED)
  add_library(Heif::Heif UNKNOWN IMPORTED)
  set_target_properties(Heif::Heif PROPERTIES
    IMPORTED_LOCATION ${TILVANE_HEIF_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${TILVANE_HEIF_INCLUDE})
endif()
