#include "sheets/Evaluation.h"

// Being written.
