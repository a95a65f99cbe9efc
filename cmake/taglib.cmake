# TagLib, cross-built from Debian's source tarball that scripts/setup.sh fetched into the
# cache. Only the static library: no zlib (compressed frames are skipped), no tests,
# examples or bindings.
include(ExternalProject)

set(TOVEL_TAGLIB_TARBALL "${TOVEL_CACHE}/taglib_1.13.orig.tar.gz" CACHE FILEPATH "TagLib source tarball")
if(NOT EXISTS "${TOVEL_TAGLIB_TARBALL}")
  message(FATAL_ERROR "Missing ${TOVEL_TAGLIB_TARBALL}; run scripts/setup.sh first")
endif()

set(_taglib_prefix "${CMAKE_BINARY_DIR}/taglib")
set(_taglib_lib "${_taglib_prefix}/lib/libtag.a")
set(_taglib_launchers)
if(CMAKE_CXX_COMPILER_LAUNCHER)
  list(APPEND _taglib_launchers -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
ExternalProject_Add(taglib_source
  URL "${TOVEL_TAGLIB_TARBALL}"
  URL_HASH SHA256=58f08b4db3dc31ed152c04896ee9172d22052bc7ef12888028c01d8b1d60ade0
  PREFIX "${_taglib_prefix}/work"
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${_taglib_prefix}
    -DBUILD_SHARED_LIBS=OFF -DWITH_ZLIB=OFF -DBUILD_TESTING=OFF -DBUILD_EXAMPLES=OFF -DBUILD_BINDINGS=OFF
    ${_taglib_launchers}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target tag
  INSTALL_COMMAND ${CMAKE_COMMAND} --install <BINARY_DIR>
  BUILD_BYPRODUCTS "${_taglib_lib}"
  DOWNLOAD_EXTRACT_TIMESTAMP TRUE
)
file(MAKE_DIRECTORY "${_taglib_prefix}/include")
add_library(taglib STATIC IMPORTED GLOBAL)
set_target_properties(taglib PROPERTIES
  IMPORTED_LOCATION "${_taglib_lib}"
  INTERFACE_INCLUDE_DIRECTORIES "${_taglib_prefix}/include"
  INTERFACE_COMPILE_DEFINITIONS TAGLIB_STATIC)
add_dependencies(taglib taglib_source)
