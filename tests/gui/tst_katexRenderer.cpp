#include "catalogue/CatalogueBuilder.h"
#include "formulas/KatexRenderer.h"

#include "components/Cp1252.h"
#include "components/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

class TestKatexRenderer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFileInfo::exists(KatexRenderer::defaultScript()))
            QSKIP("libjs-katex is not installed");
        QString error;
        QVERIFY2(m_katex.load(KatexRenderer::defaultScript(), &error), qPrintable(error));
    }

    void formulas_data()
    {
        QTest::addColumn<QString>("tex");
        QTest::addColumn<QString>("piece"); // in the HTML; empty: rejected
        QTest::newRow("fraction") << "\\frac{1}{2}"
                                  << "mfrac";
        QTest::newRow("power") << "2\\cdot 10^{-7}"
                               << "msupsub";
        QTest::newRow("unit as printed") << "μ"
                                         << "μ";
        QTest::newRow("unit command of the publication") << "4\\,\\mOhm + 4,7\\,\\kiloOhm"
                                                         << "Ω";
        QTest::newRow("unknown command") << "\\foo{x}"
                                         << "";
    }
    void formulas()
    {
        QFETCH(QString, tex);
        QFETCH(QString, piece);
        QString html;
        QString error;
        const bool ok = m_katex.render(tex, html, error);
        QCOMPARE(ok, !piece.isEmpty());
        if (ok) {
            QVERIFY(html.startsWith(QLatin1String("<span class=\"katex\">")));
            QVERIFY2(html.contains(piece), qPrintable(html));
        } else {
            QVERIFY2(error.contains(QLatin1String("Undefined control sequence")),
                     qPrintable(error));
        }
    }

    void missingScript()
    {
        KatexRenderer other;
        QString error;
        QVERIFY(!other.load(QStringLiteral("/nirgends/katex.min.js"), &error));
        QVERIFY(error.startsWith(QLatin1String("Die Datei /nirgends/katex.min.js fehlt")));
        QString html;
        QVERIFY(!other.render(QStringLiteral("x"), html, error));
    }

    // Every formula of the published catalogue is typeset.
    void publishedCatalogue()
    {
        QFile file(
            QStringLiteral(VEXA_SOURCE_DIR "/../shared/catalogue-2024/fragenkatalog3b.json"));
        if (!file.open(QIODevice::ReadOnly))
            QSKIP("../shared/catalogue-2024 is not beside the sources");
        OfficialCatalogue catalogue;
        QString error;
        QVERIFY2(OfficialCatalogue::read(file.readAll(), catalogue, &error), qPrintable(error));
        CatalogueBuilder::Result result;
        QVERIFY2(CatalogueBuilder::build(
                     catalogue,
                     [this](const QString &tex, QString &html, QString &reason) {
                         return m_katex.render(tex, html, reason);
                     },
                     result, &error),
                 qPrintable(error));
        QCOMPARE(result.formulas, 624);
        static const QRegularExpression svg(QStringLiteral("<svg.*?</svg>"));
        static const QRegularExpression command(QStringLiteral("\\\\(?:[A-Za-z]+|[^A-Za-z\\s])"));
        QHash<QString, QStringList> questions; // ID -> its lines
        for (const CatalogueBuilder::Entry &e : result.entries) {
            QVERIFY2(!e.bytes.contains('$'), qPrintable(e.name));
            if (!e.name.endsWith(QLatin1String("fragen.txt")))
                continue;
            QString id;
            for (const QString &line : TextFile::splitLines(Cp1252::toUnicode(e.bytes))) {
                if (line.startsWith(QLatin1String("::")))
                    id = line.mid(2);
                else if (!id.isEmpty())
                    questions[id] << line;
                // A line break inside the path of a root makes the browser drop the path.
                QRegularExpressionMatchIterator it = svg.globalMatch(line);
                while (it.hasNext())
                    QVERIFY2(!it.next().captured(0).contains(QLatin1String("<br>")),
                             qPrintable(id));
                // KaTeX's markup holds no TeX: a command anywhere is one shown raw.
                const QRegularExpressionMatch raw = command.match(line);
                QVERIFY2(!raw.hasMatch(), qPrintable(id + u' ' + raw.captured(0)));
                QVERIFY2(!line.endsWith(QLatin1String("<br>")), qPrintable(id));
            }
        }
        // The roots are drawn, so the right answer differs from the wrong ones.
        for (const QString id : {"EB504", "EB505", "EE403", "EK105", "AG219", "AK104"})
            QVERIFY2(questions.value(id).join(u'\n').contains(QLatin1String("<svg")),
                     qPrintable(id));
        const QStringList eb504 = questions.value(QStringLiteral("EB504"));
        QCOMPARE(QSet<QString>(eb504.cbegin() + 1, eb504.cend()).size(), 4);
        // Decimal commas stand without a blank: "4{,}2" is one token.
        for (const QString id : {"EA110", "EA111", "AC521", "AD114", "AG213"})
            QVERIFY2(!questions.value(id).join(u'\n').contains(
                         QLatin1String("mpunct\">,</span><span class=\"mspace\"")),
                     qPrintable(id));
        QVERIFY(questions.value(QStringLiteral("AK103"))
                    .first()
                    .contains(QLatin1String("katex-display")));
    }

private:
    KatexRenderer m_katex;
};

QTEST_GUILESS_MAIN(TestKatexRenderer)
#include "tst_katexRenderer.moc"
