#include "gui/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace {
// For runs without a screen (process tests): the text goes to stderr and a
// confirmation is answered with Cancel, so nothing is overwritten or deleted unseen.
bool boxesToStderr(const QString &text)
{
    if (qEnvironmentVariableIntValue("VEXA_MESSAGEBOX_STDERR") != 1)
        return false;
    std::fprintf(stderr, "Warnung: %s\n", text.toUtf8().constData());
    std::fflush(stderr);
    return true;
}
} // namespace

MessageBox::Hook &MessageBox::hook()
{
    static Hook h;
    return h;
}

void MessageBox::setHook(Hook h)
{
    hook() = std::move(h);
}

void MessageBox::warning(QWidget *parent, const QString &text)
{
    report(parent, Warning, text);
}

void MessageBox::information(QWidget *parent, const QString &text)
{
    report(parent, Information, text);
}

void MessageBox::report(QWidget *parent, Kind kind, const QString &text)
{
    if (hook()) {
        hook()(kind, text);
        return;
    }
    if (boxesToStderr(text))
        return;
    const bool warning = kind != Information;
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information,
                    warning ? QStringLiteral("Warnung") : QStringLiteral("Information"), text,
                    QMessageBox::NoButton, parent);
    // Texts name files and lists; "<Strg-Entf>" or a name with "<" is text, not markup.
    box.setTextFormat(Qt::PlainText);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool MessageBox::confirm(QWidget *parent, const QString &text)
{
    if (hook())
        return hook()(Confirmation, text) == Ok;
    if (boxesToStderr(text))
        return false;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warnung"), text, QMessageBox::NoButton,
                    parent);
    // Texts name files and lists; "<Strg-Entf>" or a name with "<" is text, not markup.
    box.setTextFormat(Qt::PlainText);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}
