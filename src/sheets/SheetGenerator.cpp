#include "sheets/SheetGenerator.h"

// Being written.
