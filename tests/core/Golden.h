#pragma once

#include "catalogue/TextFile.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QtTest>

/// Compares a generated page with its expected file line by line. With
/// VEXA_UPDATE_GOLDEN=1 in the environment the expected file is (re)written instead,
/// to be reviewed before it is committed. Placeholders: @DATADIR@ stands for the data
/// folder of the run.
inline bool compareWithGolden(const QString &generatedPath, const QString &goldenPath,
                              const QString &dataDir = QString())
{
    QStringList actual;
    if (!TextFile::readLines(generatedPath, actual)) {
        qWarning("generated page %s is missing", qPrintable(generatedPath));
        return false;
    }
    if (!dataDir.isEmpty())
        actual.replaceInStrings(dataDir, QStringLiteral("@DATADIR@"));
    if (qEnvironmentVariableIntValue("VEXA_UPDATE_GOLDEN") == 1)
        return TextFile::writeLines(goldenPath, actual);

    QStringList expected;
    if (!TextFile::readLines(goldenPath, expected)) {
        qWarning("golden file %s is missing", qPrintable(goldenPath));
        return false;
    }
    for (int i = 0; i < qMax(actual.size(), expected.size()); ++i) {
        const QString a = i < actual.size() ? actual.at(i) : QStringLiteral("<end of page>");
        const QString e = i < expected.size() ? expected.at(i) : QStringLiteral("<end of page>");
        if (a != e) {
            qWarning("line %d differs\n  actual:   %s\n  expected: %s", i + 1, qPrintable(a),
                     qPrintable(e));
            return false;
        }
    }
    return true;
}
