#include "statistics/AnswerList.h"

// Being written.
