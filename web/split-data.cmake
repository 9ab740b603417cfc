# Sorts the data folder into the packages the page downloads: "base" (the sounds and the built-in font, which
# every window uses) and one package of art for each art level: "level1" (names without a level suffix),
# "level2" ("-hd") and "level4" ("-hd2"). A first visit then downloads the base and the one level its window
# shows; the other levels follow once the game runs.
# Usage: cmake -DDATA=<data folder> -DOUT=<folder of packages> -P split-data.cmake
# Each package lands in <OUT>/<package>/data/, mirroring the data folder.
if(NOT DATA OR NOT OUT)
  message(FATAL_ERROR "usage: cmake -DDATA=<data folder> -DOUT=<packages folder> -P split-data.cmake")
endif()
file(REMOVE_RECURSE ${OUT})
file(GLOB_RECURSE files RELATIVE ${DATA} ${DATA}/*)
foreach(file ${files})
  if(file MATCHES "-hd2\\.png$")
    set(package level4)
  elseif(file MATCHES "-hd\\.png$")
    set(package level2)
  elseif(file MATCHES "\\.png$" AND NOT file STREQUAL "dravo_font.png")
    set(package level1)
  else()
    set(package base)
  endif()
  get_filename_component(folder ${file} DIRECTORY)
  file(COPY ${DATA}/${file} DESTINATION ${OUT}/${package}/data/${folder})
endforeach()
