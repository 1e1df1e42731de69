#include "catalogue/Selection.h"

// Being written.
