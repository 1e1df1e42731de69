#include "statistics/ExamLog.h"

// Being written.
