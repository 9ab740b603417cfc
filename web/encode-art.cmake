# Makes the page's art lossless WebP: every .png under FOLDER but the built-in font becomes a .webp of the same
# name beside it, and the .png goes. The art is about half its size so (the smallest level's 471 KB become 325 KB,
# the largest's 2.61 MB 1.43 MB); the browser decodes it, off the page's main thread, and the page's host reads
# a .png the game asks for from its .webp (host/web/webgame.cpp).
# Usage: cmake -DFOLDER=<folder> -DCWEBP=<cwebp> -P encode-art.cmake
# Depends on cwebp (Debian's webp).
# NOTE: the built-in font stays a PNG: the game draws with it before anything has been decoded, and reads it
# itself. Lossless, so every letter is as the generator drew it; -z 9 packs tightest, and encodes the same
# pixels to the same bytes on every build.
if(NOT FOLDER OR NOT CWEBP)
  message(FATAL_ERROR "usage: cmake -DFOLDER=<folder> -DCWEBP=<cwebp> -P encode-art.cmake")
endif()
file(GLOB_RECURSE pictures ${FOLDER}/*.png)
foreach(png ${pictures})
  get_filename_component(name ${png} NAME)
  if(name STREQUAL "dravo_font.png")
    continue()
  endif()
  string(REGEX REPLACE "\\.png$" ".webp" webp "${png}")
  execute_process(COMMAND ${CWEBP} -quiet -lossless -z 9 ${png} -o ${webp} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cwebp could not encode ${png}")
  endif()
  file(REMOVE ${png})
endforeach()
