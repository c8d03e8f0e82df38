#include "support/msgmodulos.h"

std::string LeMensagens(int)
{
    return {};
}
