#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

/// The object the injected page script calls through the web channel. It only turns the
/// calls into signals; the viewer decides what they mean.
class ViewerBridge : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE void clicked(const QString &href);
    Q_INVOKABLE void submitted(const QString &action, const QVariantList &lines);
    Q_INVOKABLE void hovered(const QString &href, const QString &title);
    Q_INVOKABLE void scrolled(double x, double y);
    Q_INVOKABLE void radiosChanged(const QVariantList &checked);

signals:
    void linkClicked(const QString &href);
    void formSubmitted(const QString &action, const QStringList &lines);
    void linkHovered(const QString &href, const QString &title);
    void scrollReported(double x, double y);
    void radiosReported(const QStringList &checked);
};
