#include "gui/DownloadDialog.h"

#include "catalogue/CatalogueDownload.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

DownloadDialog::DownloadDialog(CatalogueDownload &download, QWidget *parent)
    : QDialog(parent), m_download(download)
{
    setObjectName(QStringLiteral("DownloadDialog"));
    setWindowTitle(QStringLiteral("Fragenkatalog herunterladen"));
    auto *layout = new QVBoxLayout(this);
    auto *address = new QLabel(download.url().toDisplayString(), this);
    address->setWordWrap(true);
    address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(address);
    m_status = new QLabel(QStringLiteral("Verbindung wird aufgebaut ..."), this);
    layout->addWidget(m_status);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 0);
    layout->addWidget(m_bar);
    auto *buttons = new QDialogButtonBox(this);
    m_cancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &DownloadDialog::reject);
    setMinimumWidth(420);

    connect(&download, &CatalogueDownload::progress, this, &DownloadDialog::showProgress);
    connect(&download, &CatalogueDownload::finished, this, [this] { QDialog::accept(); });
}

void DownloadDialog::showProgress(qint64 received, qint64 total)
{
    m_status->setText(CatalogueDownload::progressText(received, total));
    if (total > 0) {
        // Per mille: the bar's int range does not hold byte counts of any size.
        m_bar->setRange(0, 1000);
        m_bar->setValue(int(std::clamp<qint64>(received * 1000 / total, 0, 1000)));
    } else {
        m_bar->setRange(0, 0);
    }
}

void DownloadDialog::reject()
{
    m_download.cancel(); // the download's end closes the dialog
    QDialog::reject();
}
