#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

class VexaCore;

/// Evaluates a submitted sheet and shows LetzteAuswertung.html; logs examinations.
class Evaluation
{
public:
    explicit Evaluation(VexaCore &core) : m_core(core) {}

    /// p, c, kind, examNumber and sectionCode are those of the sheet generated last;
    /// results are the submitted "name=value" lines in page order.
    void BogenAuswerten(QChar p, QChar c, QChar kind, const QString &examNumber,
                        QString sectionCode, const QStringList &results);

    /// Number of lines containing "=W" or "=R".
    static int BeantworteteZaehlen(const QStringList &results);

private:
    VexaCore &m_core;
};
