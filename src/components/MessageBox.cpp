#include "components/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

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
    if (hook()) {
        hook()(Warning, text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warnung"), text, QMessageBox::NoButton,
                    parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool MessageBox::confirm(QWidget *parent, const QString &text)
{
    if (hook())
        return hook()(Confirmation, text) == Ok;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warnung"), text, QMessageBox::NoButton,
                    parent);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}
