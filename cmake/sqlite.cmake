# SQLite for the tile library, as the imported target SQLite::SQLite3.
# Native builds use the system's library; the Windows build links a static one that
# scripts/build-sqlite.sh cross-compiles from Debian's source package once per checkout, and
# the fuzz build one that it builds from the same source with the fuzzers' instrumentation.
if(WIN32 OR TILVANE_FUZZ)
  include(${CMAKE_CURRENT_LIST_DIR}/built-dependency.cmake)
  tilvane_built_dependency(sqlite)
  add_library(SQLite::SQLite3 STATIC IMPORTED)
  set_target_properties(SQLite::SQLite3 PROPERTIES
    IMPORTED_LOCATION ${TILVANE_SQLITE_PREFIX}/lib/libsqlite3.a
    INTERFACE_INCLUDE_DIRECTORIES ${TILVANE_SQLITE_PREFIX}/include)
else()
  find_package(SQLite3 REQUIRED)
endif()
