#pragma once

#include <QDialog>

class CatalogueDownload;
class QLabel;
class QProgressBar;
class QPushButton;

/// Shows a running download of the catalogue: the bytes received, a bar when the size is
/// known, and "Abbrechen", which cancels it. It closes itself when the download ends; closing
/// it earlier cancels.
class DownloadDialog : public QDialog
{
    Q_OBJECT

public:
    DownloadDialog(CatalogueDownload &download, QWidget *parent = nullptr);

    QLabel *statusLabel() const { return m_status; }
    QProgressBar *progressBar() const { return m_bar; }
    QPushButton *cancelButton() const { return m_cancel; }

public slots:
    void reject() override;

private:
    void showProgress(qint64 received, qint64 total);

    CatalogueDownload &m_download;
    QLabel *m_status = nullptr;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_cancel = nullptr;
};
