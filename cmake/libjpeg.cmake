# libjpeg-turbo, cross-built from Debian's source tarball that scripts/setup.sh
# fetched into the cache. Only the static library is built.
include(ExternalProject)

if(DEFINED ENV{HOME})
  set(_home "$ENV{HOME}")
else()
  file(TO_CMAKE_PATH "$ENV{USERPROFILE}" _home)  # native Windows
endif()
set(TOVEL_CACHE "${_home}/.cache/tovel" CACHE PATH "Download cache outside the source tree")
set(TOVEL_LIBJPEG_TARBALL "${TOVEL_CACHE}/libjpeg-turbo_2.1.5.orig.tar.gz" CACHE FILEPATH "libjpeg-turbo source tarball")
if(NOT EXISTS "${TOVEL_LIBJPEG_TARBALL}")
  message(FATAL_ERROR "Missing ${TOVEL_LIBJPEG_TARBALL}; run scripts/setup.sh first")
endif()

set(_jpeg_prefix "${CMAKE_BINARY_DIR}/libjpeg")
set(_jpeg_lib "${_jpeg_prefix}/lib/libjpeg.a")
ExternalProject_Add(libjpeg_turbo
  URL "${TOVEL_LIBJPEG_TARBALL}"
  URL_HASH SHA256=254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c
  PREFIX "${_jpeg_prefix}/work"
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${_jpeg_prefix}
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory ${_jpeg_prefix}/lib ${_jpeg_prefix}/include
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libjpeg.a ${_jpeg_prefix}/lib/
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/jconfig.h ${_jpeg_prefix}/include/
    COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/jpeglib.h <SOURCE_DIR>/jmorecfg.h <SOURCE_DIR>/jerror.h ${_jpeg_prefix}/include/
  BUILD_BYPRODUCTS "${_jpeg_lib}"
  DOWNLOAD_EXTRACT_TIMESTAMP TRUE
)
file(MAKE_DIRECTORY "${_jpeg_prefix}/include")
add_library(jpeg STATIC IMPORTED GLOBAL)
set_target_properties(jpeg PROPERTIES
  IMPORTED_LOCATION "${_jpeg_lib}"
  INTERFACE_INCLUDE_DIRECTORIES "${_jpeg_prefix}/include")
add_dependencies(jpeg libjpeg_turbo)
