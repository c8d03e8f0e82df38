#include "db/ApiBanco.h"
