#include "config/Kovan_INI.h"
