// stb_image's implementation, built with our flags so it is timed at the
// same optimisation level as our decoder; only its bitmap reader is needed.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb_image.h>
