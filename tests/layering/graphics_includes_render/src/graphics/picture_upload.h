#include "render/drawer/drawer_3d.h"
