#include "catalogue/CatalogueDownload.h"

#include "components/WriteError.h"
#include "components/ZipArchive.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace {

constexpr int kMaxRedirects = 10;

QString sizeText(qint64 bytes)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 Bytes").arg(german.toString(bytes));
    return german.toString(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
}

} // namespace

CatalogueDownload::CatalogueDownload(const QString &kept, Limits limits, QObject *parent)
    : QObject(parent), m_kept(kept), m_limits(limits), m_manager(new QNetworkAccessManager(this))
{
    m_stall.setSingleShot(true);
    m_stall.setInterval(m_limits.stallMs);
    connect(&m_stall, &QTimer::timeout, this, &CatalogueDownload::onStalled);
}

CatalogueDownload::~CatalogueDownload() = default;

QString CatalogueDownload::progressText(qint64 received, qint64 total)
{
    if (total < 0)
        return QStringLiteral("%1 empfangen").arg(sizeText(received));
    return QStringLiteral("%1 von %2 empfangen").arg(sizeText(received), sizeText(total));
}

bool CatalogueDownload::allowedAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    return scheme == QLatin1String("http") && QHostAddress(url.host()).isLoopback();
}

QString CatalogueDownload::fileName() const
{
    return m_file ? m_file->fileName() : QString();
}

void CatalogueDownload::start(const QUrl &url)
{
    if (m_started)
        return;
    m_started = true;
    m_url = url;
    QMetaObject::invokeMethod(this, &CatalogueDownload::begin, Qt::QueuedConnection);
}

void CatalogueDownload::cancel()
{
    if (m_outcome == Outcome::Running)
        end(Outcome::Cancelled, QStringLiteral("Das Herunterladen des Fragenkatalogs ist "
                                               "abgebrochen; es bleibt alles, wie es war."));
}

void CatalogueDownload::begin()
{
    if (m_outcome != Outcome::Running)
        return;
    if (!allowedAddress(m_url)) {
        end(Outcome::Failed, QStringLiteral("Die Adresse %1 ist keine HTTPS-Adresse; Vexa lädt "
                                            "den Fragenkatalog nur über HTTPS.")
                                 .arg(m_url.toDisplayString()));
        return;
    }
    // Beside the kept file, so that keeping it is one rename on one file system; the
    // suffix tells the import that it reads a ZIP archive.
    const QFileInfo kept(m_kept);
    m_file = std::make_unique<QTemporaryFile>(kept.absolutePath() + QStringLiteral("/.") +
                                              kept.completeBaseName() + QStringLiteral("-XXXXXX.") +
                                              kept.suffix());
    if (!m_file->open()) {
        const QString reason = m_file->errorString();
        m_file.reset();
        end(Outcome::Failed, QStringLiteral("Im Datenordner %1 kann nichts angelegt werden (%2).")
                                 .arg(kept.absolutePath(), reason));
        return;
    }

    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::redirected, this, &CatalogueDownload::onRedirected);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &CatalogueDownload::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &CatalogueDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &CatalogueDownload::onFinished);
    m_stall.start();
}

void CatalogueDownload::onRedirected(const QUrl &target)
{
    const QUrl resolved = m_reply->url().resolved(target);
    if (!allowedAddress(resolved)) {
        end(Outcome::Failed,
            QStringLiteral("%1 leitet auf %2 um; Vexa folgt nur Umleitungen auf HTTPS-Adressen. "
                           "Der Download ist abgebrochen.")
                .arg(m_url.toDisplayString(), resolved.toDisplayString()));
        return;
    }
    m_stall.start();
    emit m_reply->redirectAllowed();
}

void CatalogueDownload::onMetaData()
{
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 200)
        return;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    m_announced = length.isValid() ? length.toLongLong() : -1;
    if (m_announced > m_limits.maxBytes)
        end(Outcome::Failed,
            QStringLiteral("Die Datei unter %1 ist zu groß (%2; Vexa lädt höchstens %3 herunter).")
                .arg(m_url.toDisplayString(), sizeText(m_announced), sizeText(m_limits.maxBytes)));
}

void CatalogueDownload::onReadyRead()
{
    m_stall.start();
    const QByteArray bytes = m_reply->readAll();
    // The bodies of redirects and error pages are no part of the archive.
    if (m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200)
        return;
    m_received += bytes.size();
    if (m_received > m_limits.maxBytes) {
        end(Outcome::Failed,
            QStringLiteral("Die Datei unter %1 ist zu groß (mehr als %2); der Download ist "
                           "abgebrochen.")
                .arg(m_url.toDisplayString(), sizeText(m_limits.maxBytes)));
        return;
    }
    if (m_file->write(bytes) != bytes.size()) {
        end(Outcome::Failed, WriteError::message(m_file->fileName(), m_file->errorString()));
        return;
    }
    // Counted here rather than by the reply's own signal, which skips chunks coming fast.
    emit progress(m_received, m_announced);
}

void CatalogueDownload::onStalled()
{
    if (m_outcome != Outcome::Running)
        return;
    const QLocale german(QLocale::German, QLocale::Germany);
    end(Outcome::Failed,
        QStringLiteral("Von %1 kommen seit %2 Sekunden keine Daten mehr; der Download ist "
                       "abgebrochen.")
            .arg(m_url.toDisplayString(), german.toString(m_limits.stallMs / 1000.0)));
}

void CatalogueDownload::onFinished()
{
    if (m_outcome != Outcome::Running)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString address = m_url.toDisplayString();
    const QString host = m_reply->url().host();
    const QString reason = m_reply->errorString();
    const QNetworkReply::NetworkError error = m_reply->error();
    const bool cut = m_announced >= 0 && m_received < m_announced;

    if (status >= 300) {
        const QString phrase =
            m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        end(Outcome::Failed, QStringLiteral("Der Server antwortet auf %1 mit dem HTTP-Status %2 "
                                            "(%3); der Fragenkatalog ist nicht geladen.")
                                 .arg(address, QString::number(status), phrase));
        return;
    }
    if (cut || (error == QNetworkReply::RemoteHostClosedError && status == 200)) {
        end(Outcome::Failed,
            m_announced >= 0
                ? QStringLiteral("Der Download von %1 ist unvollständig: die Verbindung brach "
                                 "nach %2 von %3 ab.")
                      .arg(address, sizeText(m_received), sizeText(m_announced))
                : QStringLiteral("Der Download von %1 ist unvollständig: die Verbindung brach "
                                 "nach %2 ab.")
                      .arg(address, sizeText(m_received)));
        return;
    }
    switch (error) {
    case QNetworkReply::NoError:
        break;
    case QNetworkReply::HostNotFoundError:
        end(Outcome::Failed, QStringLiteral("Der Name %1 ist nicht bekannt: keine Netzverbindung "
                                            "oder ein Fehler in der Adresse (%2).")
                                 .arg(host, reason));
        return;
    case QNetworkReply::ConnectionRefusedError:
        end(Outcome::Failed,
            QStringLiteral("Der Server %1 lehnt die Verbindung ab (%2).").arg(host, reason));
        return;
    case QNetworkReply::SslHandshakeFailedError:
        end(Outcome::Failed, QStringLiteral("Die sichere Verbindung (TLS) zu %1 ist gescheitert "
                                            "(%2).")
                                 .arg(host, reason));
        return;
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::TimeoutError:
        end(Outcome::Failed, QStringLiteral("Keine Netzverbindung: %1 ist nicht erreichbar (%2).")
                                 .arg(host, reason));
        return;
    default:
        end(Outcome::Failed,
            QStringLiteral("Der Download von %1 ist gescheitert (%2).").arg(address, reason));
        return;
    }
    if (status != 200) {
        end(Outcome::Failed, QStringLiteral("Der Server antwortet auf %1 mit dem HTTP-Status %2; "
                                            "der Fragenkatalog ist nicht geladen.")
                                 .arg(address, QString::number(status)));
        return;
    }
    if (!m_file->flush()) {
        end(Outcome::Failed, WriteError::message(m_file->fileName(), m_file->errorString()));
        return;
    }
    m_file->close();
    if (!checkArchive())
        return;
    end(Outcome::Downloaded);
}

bool CatalogueDownload::checkArchive()
{
    QList<ZipEntry> entries;
    QString reason;
    if (!readEntries(m_file->fileName(), entries, &reason)) {
        end(Outcome::Failed, QStringLiteral("Die Datei von %1 ist kein ZIP-Archiv (%2); der "
                                            "Fragenkatalog ist nicht geladen.")
                                 .arg(m_url.toDisplayString(), reason));
        return false;
    }
    for (const ZipEntry &entry : entries)
        if (entry.name.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
            return true;
    end(Outcome::Failed, QStringLiteral("Das ZIP-Archiv von %1 enthält keinen Fragenkatalog "
                                        "(keine JSON-Datei).")
                             .arg(m_url.toDisplayString()));
    return false;
}

void CatalogueDownload::end(Outcome outcome, const QString &message)
{
    m_stall.stop();
    m_outcome = outcome;
    m_error = message;
    if (m_reply) {
        // No more signals of the reply: its abort would report once more.
        m_reply->disconnect(this);
        if (m_reply->isRunning())
            m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    if (outcome != Outcome::Downloaded)
        m_file.reset();
    emit finished(outcome);
}

bool CatalogueDownload::keep(QString *error)
{
    if (!m_file)
        return false;
    const QString from = m_file->fileName();
    m_file->close();
    std::error_code code;
    // Replaces an archive kept before in one step.
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(m_kept.toStdU16String()), code);
    if (code) {
        *error = QStringLiteral("Das heruntergeladene Archiv kann nicht als %1 behalten werden "
                                "(%2).")
                     .arg(m_kept, QString::fromLocal8Bit(code.message()));
        m_file.reset();
        return false;
    }
    m_file->setAutoRemove(false);
    m_file.reset();
    return true;
}

void CatalogueDownload::discard()
{
    m_file.reset();
}
