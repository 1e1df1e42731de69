#include "components/Cp1252.h"

#include <QList>

#include <array>

namespace {

// Unicode code points of the bytes 0x80 to 0x9F; undefined bytes keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byteFor(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace Cp1252 {

QString toUnicode(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = (u >= 0x80 && u < 0xA0) ? QChar(kHighControls[u - 0x80]) : QChar(char16_t(u));
    }
    return text;
}

QByteArray fromUnicode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const int b = byteFor(ch.unicode());
        bytes.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return bytes;
}

bool canEncode(const QString &text)
{
    for (QChar ch : text) {
        if (byteFor(ch.unicode()) < 0)
            return false;
    }
    return true;
}

QString withCharacterReferences(const QString &html)
{
    if (canEncode(html))
        return html;
    QString out;
    for (const char32_t cp : html.toUcs4()) {
        const QString ch = QString::fromUcs4(&cp, 1);
        out += canEncode(ch) ? ch : QStringLiteral("&#%1;").arg(static_cast<uint>(cp));
    }
    return out;
}

} // namespace Cp1252
