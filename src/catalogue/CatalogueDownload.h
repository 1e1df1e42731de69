#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QTemporaryFile;

/// Fetches the ZIP archive of the official catalogue from one address into a temporary file
/// beside the place it is kept at, for the import to read. Only HTTPS is fetched, and only
/// redirects to HTTPS are followed; plain HTTP is allowed for the loopback addresses
/// (127.0.0.0/8, ::1) alone. The temporary file exists only while the download runs and
/// until keep() or discard(); after any failure nothing of it is left.
///
/// Every failure ends the download with one German message naming its cause: the address
/// refused (not HTTPS, or a redirect away from HTTPS), no network, name not found,
/// connection refused, TLS error, an HTTP status (with its number), a body shorter than
/// announced, a body beyond the size limit, no data for the stall time, a file that cannot
/// be written, a file that is no ZIP archive, an archive without a JSON file, or cancel.
class CatalogueDownload : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Running, Downloaded, Failed, Cancelled };

    struct Limits
    {
        qint64 maxBytes = 100 * 1024 * 1024;
        int stallMs = 30000; ///< time without any data before the download gives up
    };

    /// kept: where keep() puts the archive; the temporary file is made in its folder.
    CatalogueDownload(const QString &kept, Limits limits, QObject *parent = nullptr);
    ~CatalogueDownload() override;

    /// Starts fetching url once the event loop runs again, so finished never comes before
    /// start returns. A download runs only once.
    void start(const QUrl &url);
    /// Ends a running download with Outcome::Cancelled; nothing happens after it ended.
    void cancel();

    Outcome outcome() const { return m_outcome; }
    /// The reason of a failure or cancel; empty otherwise.
    QString errorMessage() const { return m_error; }
    /// The downloaded archive while it is held (after Outcome::Downloaded).
    QString fileName() const;
    QUrl url() const { return m_url; }

    /// Replaces the kept file by the downloaded archive (one rename). False with the reason in
    /// *error (German), the temporary file then removed.
    [[nodiscard]] bool keep(QString *error);
    /// Removes the downloaded archive.
    void discard();

    /// "1,5 MB von 10,2 MB empfangen"; total below 0 when unknown.
    static QString progressText(qint64 received, qint64 total);
    /// HTTPS, or plain HTTP to a loopback address.
    static bool allowedAddress(const QUrl &url);

signals:
    /// total is -1 while the server has not said it.
    void progress(qint64 received, qint64 total);
    /// Once, with Downloaded, Failed or Cancelled.
    void finished(CatalogueDownload::Outcome outcome);

private:
    void begin();
    void onRedirected(const QUrl &target);
    void onMetaData();
    void onReadyRead();
    void onFinished();
    void onStalled();
    bool checkArchive();
    void end(Outcome outcome, const QString &message = QString());

    QString m_kept;
    Limits m_limits;
    QUrl m_url;
    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_reply = nullptr;
    std::unique_ptr<QTemporaryFile> m_file;
    QTimer m_stall;
    qint64 m_received = 0;
    qint64 m_announced = -1;
    bool m_started = false;
    Outcome m_outcome = Outcome::Running;
    QString m_error;
};
