cmake_minimum_required(VERSION 3.25)
# Fails when a file includes a header of a layer it must not know.
#   cmake -DROOT=<tree> [-DSTAMP=<file>] -P check_layers.cmake
# Dependencies point one way: base <- gfx <- skin; base <- runtime; app uses all;
# nothing outside app/ and tests/ includes app/.
set(allowed_base base)
set(allowed_gfx base gfx)
set(allowed_skin base gfx skin)
set(allowed_runtime base runtime)
set(allowed_app base gfx skin runtime app)
set(layers base gfx skin runtime app)

set(violations "")
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE sources "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*" "\\1" target "${line}")
      if(target IN_LIST layers AND NOT target IN_LIST allowed_${layer})
        file(RELATIVE_PATH rel "${ROOT}" "${source}")
        string(APPEND violations "  ${rel}: ${layer}/ must not include ${target}/ (${line})\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Wrong-way includes:\n${violations}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
