#include "gui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <optional>

bool QtTranslations::install()
{
    static std::optional<bool> installed;
    if (installed)
        return *installed;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    // German whatever the system's language: every other text of the program is.
    const QLocale german(QLocale::German, QLocale::Germany);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool base = false;
    // "qt" pulls in qtbase and the other module catalogues it lists.
    for (const QString &catalogue : {QStringLiteral("qt"), QStringLiteral("qtwebengine")}) {
        auto *translator = new QTranslator(app);
        if (translator->load(german, catalogue, QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            base = base || catalogue == QLatin1String("qt");
        } else {
            delete translator;
        }
    }
    installed = base;
    return base;
}
