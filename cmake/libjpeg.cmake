# libjpeg for the core's JPEG decoder, as the imported target JPEG::JPEG.
# Native builds use the system's library; the Windows build links a static one that
# scripts/build-libjpeg.sh cross-compiles from Debian's source package once per checkout.
if(WIN32)
  set(TILVANE_LIBJPEG_PREFIX ${CMAKE_SOURCE_DIR}/build/deps/libjpeg-mingw)
  if(NOT EXISTS ${TILVANE_LIBJPEG_PREFIX}/.built)
    execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/build-libjpeg.sh RESULT_VARIABLE libjpeg_result)
    if(NOT libjpeg_result EQUAL 0)
      message(FATAL_ERROR "scripts/build-libjpeg.sh could not build libjpeg for Windows")
    endif()
  endif()
  add_library(JPEG::JPEG STATIC IMPORTED)
  set_target_properties(JPEG::JPEG PROPERTIES
    IMPORTED_LOCATION ${TILVANE_LIBJPEG_PREFIX}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${TILVANE_LIBJPEG_PREFIX}/include)
else()
  find_package(JPEG REQUIRED)
endif()
