#include "catalogue/TextUtilities.h"

QString UmlautsToEntities(const QString &text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (QChar ch : text) {
        switch (ch.unicode()) {
        case 0xC4:
            out += QStringLiteral("&Auml;");
            break;
        case 0xD6:
            out += QStringLiteral("&Ouml;");
            break;
        case 0xDC:
            out += QStringLiteral("&Uuml;");
            break;
        case 0xDF:
            out += QStringLiteral("&szlig;");
            break;
        case 0xE4:
            out += QStringLiteral("&auml;");
            break;
        case 0xF6:
            out += QStringLiteral("&ouml;");
            break;
        case 0xFC:
            out += QStringLiteral("&uuml;");
            break;
        default:
            out += ch;
        }
    }
    return out;
}

void ReplaceAll(QString &text, const QString &oldText, const QString &newText)
{
    // One pass over the text: a replacement that holds the pattern is not replaced again.
    if (oldText.isEmpty())
        return;
    text.replace(oldText, newText);
}

QString PadLeftZeros(const QString &text, int width)
{
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), u'0') + text;
}

bool IsInteger(QStringView text)
{
    // toInt alone accepts surrounding blanks and stops at a NUL character.
    const QStringView digits = text.startsWith(u'+') || text.startsWith(u'-') ? text.mid(1) : text;
    if (digits.isEmpty())
        return false;
    for (const QChar c : digits)
        if (c < u'0' || c > u'9')
            return false;
    bool ok = false;
    (void)text.toInt(&ok, 10);
    return ok;
}

void SplitVersion(const QString &version, QString &head, QString &tail)
{
    tail = version;
    for (int i = 0; i < 3; ++i) {
        const qsizetype dot = tail.indexOf(u'.');
        if (dot >= 0)
            tail = tail.mid(dot + 1);
    }
    const qsizetype headLength = version.size() - tail.size() - 1;
    head = headLength > 0 ? version.left(headLength) : QString();
}
