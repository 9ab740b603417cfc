// The image decoder of Debian's stb, compiled into the page's program: a browser cannot load the system's libstb,
// so its header gives the implementation here. The desktop links the library instead. (stb_vorbis's header
// carries its implementation wherever it is included, host/audio_data.cpp on either host.)
// Depends on Debian's libstb-dev headers.
// NOTE: only PNG is decoded (host/image_data.cpp checks every file before stb sees it); the other formats are
// left out of the program.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>
