#include "physics/Engine.h"
