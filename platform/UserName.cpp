#include "platform/UserName.h"
