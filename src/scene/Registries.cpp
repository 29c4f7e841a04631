#include "scene/Registries.h"

std::vector<PhysicsObject*>& pursuers = *new std::vector<PhysicsObject*>();
std::vector<Activator*>& activators = *new std::vector<Activator*>();
