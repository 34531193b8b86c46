// Zorban! starts here.
#include "main/GameStart.h"

int main(int argc, char **argv)
{
    GameStart game(argc, argv);
    return game.exec();
}
