#include "model/kiv_source.h"
