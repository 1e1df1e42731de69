#pragma once

#include <QDialog>

class AboutInfo;
class QLabel;
class QListWidget;

/// The about window: program name and version, portable mode, legal notice, contact and
/// the versions of the loaded catalogue (for an imported one with its whole source
/// note). Modal, centred on the screen, filled anew at every opening.
class TVexaAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TVexaAboutBox(AboutInfo &info, QWidget *parent = nullptr);
    ~TVexaAboutBox() override;

    QLabel *versionLabel() const { return m_version; }
    QLabel *noticeLabel() const { return m_notice; }
    QListWidget *versionsList() const { return m_versions; }

    /// Fills the window and shows it modally until it is closed.
    int showModal();

public slots:
    void ExitSpeedButtonClick();

private:
    void FormActivate();

    AboutInfo &m_info;
    QLabel *m_version = nullptr;
    QLabel *m_notice = nullptr;
    QListWidget *m_versions = nullptr;
};
