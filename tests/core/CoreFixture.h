#pragma once

#include "FakeUserInterface.h"

#include "components/RandomSource.h"
#include "shell/VexaCore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

/// A core on a temporary data folder, with a recording fake of the windows, a fixed
/// clock and a seeded generator. The program folder is a fixed fake path unless given.
struct CoreFixture
{
    explicit CoreFixture(std::uint64_t seed = 1,
                         const QString &programDir = QStringLiteral("/opt/vexa"))
    {
        QDir().mkpath(dir.path() + QStringLiteral("/html"));
        QDir().mkpath(dir.path() + QStringLiteral("/Fragen"));
        VexaCore::Options o;
        o.programDir = programDir;
        o.dataDir = dir.path();
        o.random = std::make_shared<RandomSource>(seed);
        o.clock = [] { return QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)); };
        core = std::make_unique<VexaCore>(o, ui);
    }

    /// Copies a catalogue archive into the data folder and starts the core on it.
    void startWithArchive(const QString &archive)
    {
        QFile::copy(archive, dir.path() + QStringLiteral("/Fragen/ZIROdazud.qst"));
        core->start();
    }

    QString dataDir() const { return dir.path(); }

    QTemporaryDir dir;
    FakeUserInterface ui;
    std::unique_ptr<VexaCore> core;
};
