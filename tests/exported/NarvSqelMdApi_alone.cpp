// Compiled on its own: the header must bring everything it needs.
#include "NarvSqelMdApi.h"
