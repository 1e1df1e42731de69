#pragma once

#include <QList>

/// How well the predicted pass probabilities of the examinations taken matched their
/// results: the mean prediction against the share passed, and the Brier score (the mean
/// of (prediction - result)², 0 perfect, 0.25 what always saying 50 % scores).
class Calibration
{
public:
    /// The probability predicted before an examination, and whether it was passed.
    struct Prediction
    {
        double probability = 0;
        bool passed = false;
    };

    struct Result
    {
        int count = 0;            ///< predictions counted
        double predictedMean = 0; ///< mean predicted probability; 0 without predictions
        double passedShare = 0;   ///< share passed; 0 without predictions
        double brier = 0;         ///< Brier score; 0 without predictions

        bool isEmpty() const { return count == 0; }
    };

    /// The calibration of predictions. A probability outside [0, 1] is taken as the
    /// nearer end; one that is no number is passed over. Never fails: no predictions give
    /// an empty result.
    static Result of(const QList<Prediction> &predictions);
};
