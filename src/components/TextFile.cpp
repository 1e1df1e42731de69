#include "components/TextFile.h"

#include "components/Cp1252.h"

#include <QFile>
#include <QSaveFile>

namespace TextFile {

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        if (ch == u'\r' || ch == u'\n') {
            lines.append(text.mid(start, i - start));
            if (ch == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString joinLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

bool readLines(const QString &path, QStringList &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    lines = splitLines(Cp1252::toUnicode(file.readAll()));
    return true;
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    // A small file sits in the write buffer until commit(), and commit() may still
    // rename a temporary file whose flush failed (full disk): flush and look first.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool writeLines(const QString &path, const QStringList &lines, QString *error)
{
    return writeBytes(path, Cp1252::fromUnicode(joinLines(lines)), error);
}

} // namespace TextFile
