// Sprecho: the application hands control to the desktop's event loop.
#include "platform/qt/application.h"

int main(int argc, char** argv)
{
    return runapplication(argc, argv);
}
