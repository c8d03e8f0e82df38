#include "config/Lib.h"
