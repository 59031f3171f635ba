// The trading library: the exported factory and everything behind it are linked in here.
#include "APIPackage.h"
