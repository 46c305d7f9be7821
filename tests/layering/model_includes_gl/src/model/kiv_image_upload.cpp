#include <GLES3/gl3.h>
