#include "core/Console.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

void consolePause()
{
    std::cout << "Press Enter to continue . . ." << std::endl;
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n') {
    }
}

void fatalError(const std::string& message, const char* detail)
{
    std::cout << message << std::endl;
    if (detail)
        std::cout << detail << std::endl;
    consolePause();
    std::exit(-1);
}
