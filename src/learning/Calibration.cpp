#include "learning/Calibration.h"

#include <algorithm>
#include <cmath>

Calibration::Result Calibration::of(const QList<Prediction> &predictions)
{
    Result result;
    double predicted = 0;
    int passed = 0;
    double squares = 0;
    for (const Prediction &prediction : predictions) {
        if (std::isnan(prediction.probability))
            continue;
        const double p = std::clamp(prediction.probability, 0.0, 1.0);
        const double outcome = prediction.passed ? 1.0 : 0.0;
        ++result.count;
        predicted += p;
        passed += prediction.passed ? 1 : 0;
        squares += (p - outcome) * (p - outcome);
    }
    if (result.count > 0) {
        result.predictedMean = predicted / result.count;
        result.passedShare = double(passed) / result.count;
        result.brier = squares / result.count;
    }
    return result;
}
