#pragma once
int runGame();
