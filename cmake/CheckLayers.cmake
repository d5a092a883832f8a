# Fails the build when a file includes a layer above its own. Run as a build step:
#   cmake -DSOURCE_DIR=<repo> -P cmake/CheckLayers.cmake
#
# Layers from the bottom: base/ and platform/ (the door to the system), then framework/ and
# settings/ side by side, then the program (app/, engine/, explorer/, launch/). A layer may
# include its own headers and those of the layers below it, never one above or beside it.

cmake_minimum_required(VERSION 3.25)

set(allowed_base     "base" "platform")
set(allowed_platform "base" "platform" "resources")
set(allowed_framework "base" "platform" "framework")
set(allowed_settings "base" "platform" "settings")

set(violations "")
foreach(layer base platform framework settings)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[A-Za-z0-9_]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([A-Za-z0-9_]+)/.*$" "\\1" target "${line}")
      if(NOT target IN_LIST allowed_${layer})
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
        string(APPEND violations "  ${shown}: ${line} (${layer}/ may include only: ${allowed_${layer}})\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "A layer includes one above or beside it:\n${violations}")
endif()
