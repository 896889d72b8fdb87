# Fails when a lower layer includes a higher one (cmake -DROOT=<repo> -P ...).
# Layers, lowest first: platform/mfc, platform/dshow, common, audio and
# hybrid (side by side), xf, then installer, then app (which starts the
# installer and hands it its hooks). The one way up that the design allows:
# audio declares its displays on hybrid/IHybridContent.h.
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  message(FATAL_ERROR "ROOT (the repository) is required")
endif()

# forbidden_<folder>: the folders whose headers <folder> may not include.
set(forbidden_platform/mfc platform/dshow common audio hybrid xf app installer)
set(forbidden_platform/dshow common audio hybrid xf app installer)
set(forbidden_common audio hybrid xf app installer)
set(forbidden_audio hybrid xf app installer)
set(forbidden_hybrid audio xf app installer)
set(forbidden_xf app installer)
set(forbidden_installer audio app)
set(allowed_audio hybrid/IHybridContent.h)

set(breaches "")
foreach(layer platform/mfc platform/dshow common audio hybrid xf installer)
  file(GLOB_RECURSE files ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.cpp ${ROOT}/${layer}/*.c)
  foreach(file ${files})
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" included "${line}")
      if(included IN_LIST allowed_${layer})
        continue()
      endif()
      foreach(higher ${forbidden_${layer}})
        string(FIND "${included}" "${higher}/" at)
        if(at EQUAL 0)
          file(RELATIVE_PATH rel ${ROOT} ${file})
          list(APPEND breaches "${rel} includes ${included}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(breaches)
  list(JOIN breaches "\n  " text)
  message(FATAL_ERROR "Layering broken:\n  ${text}")
endif()
message(STATUS "Layering kept")
