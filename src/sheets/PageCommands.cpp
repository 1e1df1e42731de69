#include "sheets/PageCommands.h"

// Being written.
