# Sorts the data folder into the packages the page downloads: the base package (the sounds and the built-in
# font, which every window uses) and one package of art for each art level, by the suffix its files carry (the
# levels of game/art_levels.h, as the desktop build wrote them out: QUORLIX_BASE_PACKAGE, QUORLIX_ART_LEVELS and
# each level's QUORLIX_ART_SUFFIX_<level> and QUORLIX_ART_PACKAGE_<level>). A first visit then downloads the base
# and the one level its window shows; the other levels follow once the game runs.
# Usage: cmake -DDATA=<data folder> -DOUT=<folder of packages> -DLEVELS=<art-levels.cmake> -P split-data.cmake
# Each package lands in <OUT>/<package>/data/, mirroring the data folder.
if(NOT DATA OR NOT OUT OR NOT LEVELS)
  message(FATAL_ERROR
    "usage: cmake -DDATA=<data folder> -DOUT=<packages folder> -DLEVELS=<art-levels.cmake> -P split-data.cmake")
endif()
include(${LEVELS})
if(NOT QUORLIX_BASE_PACKAGE OR NOT QUORLIX_ART_LEVELS)
  message(FATAL_ERROR "${LEVELS} names no base package or no art levels")
endif()
file(REMOVE_RECURSE ${OUT})
file(GLOB_RECURSE files RELATIVE ${DATA} ${DATA}/*)
foreach(file ${files})
  set(package ${QUORLIX_BASE_PACKAGE})
  # NOTE: the built-in font is the base's: the game draws with it before any level's art is here.
  if(file MATCHES "\\.png$" AND NOT file STREQUAL "dravo_font.png")
    string(REGEX REPLACE "\\.png$" "" stem "${file}")
    # The level whose suffix the name ends with; the level with none takes the rest.
    foreach(level ${QUORLIX_ART_LEVELS})
      set(suffix "${QUORLIX_ART_SUFFIX_${level}}")
      string(LENGTH "${suffix}" suffix_length)
      string(LENGTH "${stem}" stem_length)
      math(EXPR start "${stem_length} - ${suffix_length}")
      set(ending "")
      if(start GREATER_EQUAL 0)
        string(SUBSTRING "${stem}" ${start} -1 ending)
      endif()
      if(ending STREQUAL suffix)
        set(package ${QUORLIX_ART_PACKAGE_${level}})
        break()
      endif()
    endforeach()
  endif()
  get_filename_component(folder ${file} DIRECTORY)
  file(COPY ${DATA}/${file} DESTINATION ${OUT}/${package}/data/${folder})
endforeach()
