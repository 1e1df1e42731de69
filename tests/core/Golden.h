#pragma once

#include "components/Cp1252.h"
#include "components/TextFile.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QtTest>

/// Compares a generated page with its expected file line by line and checks that every
/// line of the page ends with CR LF. With VEXA_UPDATE_GOLDEN=1 in the environment the
/// expected file is (re)written instead, to be reviewed before it is committed. The
/// data folder of the run stands as @DATADIR@ in expected files.
inline bool compareWithGolden(const QString &generatedPath, const QString &goldenPath,
                              const QString &dataDir = QString())
{
    QFile page(generatedPath);
    if (!page.open(QIODevice::ReadOnly)) {
        qWarning("generated page %s is missing", qPrintable(generatedPath));
        return false;
    }
    const QByteArray bytes = page.readAll();
    if (!bytes.endsWith("\r\n") || bytes.count("\r\n") != bytes.count('\n')) {
        qWarning("%s: every line must end with CR LF", qPrintable(generatedPath));
        return false;
    }
    QStringList actual = TextFile::splitLines(Cp1252::toUnicode(bytes));
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
            qWarning("%s line %d differs\n  actual:   %s\n  expected: %s", qPrintable(goldenPath),
                     i + 1, qPrintable(a), qPrintable(e));
            return false;
        }
    }
    return true;
}
