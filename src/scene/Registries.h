#pragma once
// The two lists that tie the statues to the game logic. The world assembly fills them once;
// entries are never removed. Users walk them by index, re-reading the size on every pass.
#include <vector>

class Activator;
class PhysicsObject;

// Both lists live until the process ends and are never destroyed, so the statues and activators
// they hold stay reachable to the very end, after static destruction too.
// Every statue the pursuit moves and tests; a statue listed twice is visited twice.
extern std::vector<PhysicsObject*>& pursuers;
// The trigger points, each with its own statues to wake.
extern std::vector<Activator*>& activators;
