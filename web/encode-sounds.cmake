# Makes the page's sounds Ogg Vorbis: every .wav under FOLDER becomes a .ogg of the same name beside it, and the
# .wav goes. The sounds are a sixth of their size so (318 KB of 16-bit samples become about 60 KB), and the page's
# host reads a .wav the game asks for from its .ogg (host/web/webgame.cpp).
# Usage: cmake -DFOLDER=<folder> -DOGGENC=<oggenc> -P encode-sounds.cmake
# Depends on oggenc (Debian's vorbis-tools).
# NOTE: quality 4 keeps the short effects clean; the stream's serial number is fixed so that the same sounds make
# the same bytes on every build.
if(NOT FOLDER OR NOT OGGENC)
  message(FATAL_ERROR "usage: cmake -DFOLDER=<folder> -DOGGENC=<oggenc> -P encode-sounds.cmake")
endif()
file(GLOB_RECURSE sounds ${FOLDER}/*.wav)
foreach(wav ${sounds})
  string(REGEX REPLACE "\\.wav$" ".ogg" ogg "${wav}")
  execute_process(COMMAND ${OGGENC} --quiet --quality=4 --serial=1 --output=${ogg} ${wav} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "oggenc could not encode ${wav}")
  endif()
  file(REMOVE ${wav})
endforeach()
