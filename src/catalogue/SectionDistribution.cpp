#include "catalogue/SectionDistribution.h"

// Being written.
