#include "ui/main/avvioapp.h"

int main(int argc, char *argv[])
{
    return AvviaArvo(argc, argv);
}
