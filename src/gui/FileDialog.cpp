#include "gui/FileDialog.h"

#include <QFileDialog>

FileDialog::Hook &FileDialog::hook()
{
    static Hook h;
    return h;
}

void FileDialog::setHook(Hook h)
{
    hook() = std::move(h);
}

QString FileDialog::getOpenFileName(QWidget *parent, const QString &title, const QString &folder,
                                    const QString &filter)
{
    if (hook())
        return hook()(Open, title, folder, filter);
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

QString FileDialog::getSaveFileName(QWidget *parent, const QString &title, const QString &folder,
                                    const QString &filter)
{
    if (hook())
        return hook()(Save, title, folder, filter);
    return QFileDialog::getSaveFileName(parent, title, folder, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
