#include "gui/MessageBox.h"
#include "gui/QtTranslations.h"
#include "gui/VexaMain.h"
#include "shell/SingleInstance.h"

#include <QApplication>

#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Chromium's sandbox refuses to run as root.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vexa"));
    QGuiApplication::setDesktopFileName(QStringLiteral("vexa"));
    // Before the first box, so that even the refusal to start is German throughout.
    (void)QtTranslations::install(); // without them Qt's dialogs stay English

    // Before any window exists and before any data file is touched.
    SingleInstance instance;
    if (!instance.tryLock()) {
        MessageBox::warning(nullptr, instance.refusal());
        return 0;
    }

    TVexaForm form(TVexaForm::realOptions());
    form.show();
    return app.exec();
}
