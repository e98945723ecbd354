#pragma once

#include "core/profiles/OnlineReport.h"
#include "core/profiles/PadReader.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <utility>

class QNetworkAccessManager;
class QNetworkReply;

namespace tarvelo {

// Asks the web about one profile: fetches its PAD URL and compares the program
// and version served there with the local ones, and asks each download,
// screenshot and icon address whether it answers. Runs on the caller's event
// loop; emits finished() exactly once per start(), also after cancel(). A slot
// of finished() that wants rid of the check uses deleteLater(), not delete.
class OnlineCheck : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxInFlight = 8;
    static constexpr int DefaultTimeoutMs = 15'000;
    // Anything larger is not a PAD file, online as on disk.
    static constexpr qint64 MaxPadSize = PadReader::MaxFileSize;

    // The local values the check compares and the addresses it asks.
    struct Local
    {
        QString programName;
        QString version;
        QString padUrl;
        QList<std::pair<Field, QString>> addresses;

        // The download, second download, screenshot and icon addresses of a file.
        static Local fromPad(const PadReader::Pad &pad);
    };

    // The manager is the caller's and must outlive the check.
    OnlineCheck(Local local, QNetworkAccessManager *network, QObject *parent = nullptr);
    // Aborts what is still in flight, without emitting finished().
    ~OnlineCheck() override;

    // Time a request may go without receiving anything; set before start().
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    void start();
    // Aborts every request in flight and emits finished() with what is known.
    void cancel();
    bool isRunning() const { return m_running; }

signals:
    void progress(int done, int total);
    void finished(const tarvelo::OnlineReport &report);

private:
    static constexpr int PadJob = -1; // Job::row of the PAD URL

    struct Job
    {
        int row = PadJob; // index into the report's addresses
        bool get = false; // GET instead of HEAD (the PAD URL is always got)
        int redirects = 0;
        bool stoppedByUs = false; // aborted on purpose: enough read, or too much
    };

    void addRow(Field field, const QString &address);
    void abortAll();
    void launch(Job job);
    void pump();
    void watch(QNetworkReply *reply);
    void onArriving(QNetworkReply *reply);
    void onReplyFinished(QNetworkReply *reply);
    void finishPad(QNetworkReply *reply, const Job &job);
    void finishAddress(QNetworkReply *reply, const Job &job);
    void comparePad(const QByteArray &bytes);
    QString failure(QNetworkReply *reply, const Job &job) const;
    void markDone();
    void finishIfComplete();

    Local m_local;
    QNetworkAccessManager *m_network;
    int m_timeoutMs = DefaultTimeoutMs;
    OnlineReport m_report;
    QList<Job> m_queue;
    QHash<QNetworkReply *, Job> m_inFlight;
    int m_done = 0;
    int m_total = 0;
    bool m_running = false;
};

} // namespace tarvelo
