#include "catalogue/CatalogueBuilder.h"
#include "catalogue/KatexRenderer.h"

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
        QCOMPARE(result.formulas, 623);
        for (const CatalogueBuilder::Entry &e : result.entries)
            QVERIFY2(!e.bytes.contains('$'), qPrintable(e.name));
    }

private:
    KatexRenderer m_katex;
};

QTEST_GUILESS_MAIN(TestKatexRenderer)
#include "tst_katexRenderer.moc"
