#include "scene/Registries.h"

std::vector<PhysicsObject*> pursuers;
std::vector<Activator*> activators;
