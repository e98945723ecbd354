#pragma once

#include "core/profiles/OnlineReport.h"
#include "core/profiles/PadCheck.h"
#include "core/profiles/ProfileFields.h"

#include <QFutureWatcher>
#include <QObject>

#include <array>

class QLabel;
class QNetworkAccessManager;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tarvelo {

class MainWindow;
class OnlineCheck;
class PadProblemsDialog;

// The PAD check and the online check on the PAD Files page: per profile a
// line saying how its file fares against the PAD specification's rules, a
// button listing the problems and one asking the web about the profile.
class PadCheckPanel : public QObject
{
    Q_OBJECT
public:
    explicit PadCheckPanel(MainWindow &window);
    ~PadCheckPanel() override;

    // Checks the file named in the profile's local PAD box and shows the
    // outcome. The check runs beside the window: on a file of many megabytes
    // it can take a second or more.
    void checkProfile(int profile);
    void checkAll();

    // Compares the profile's boxes with what its PAD URL serves and asks each
    // of its addresses; one check at a time.
    void checkOnline(int profile);
    void cancelOnline();

private:
    struct Row
    {
        QLabel *status = nullptr;
        QPushButton *problems = nullptr;
        QPushButton *online = nullptr;
        QFutureWatcher<PadCheck::Result> *check = nullptr;
        QString file; // the one checked
    };

    void buildRow(int profile);
    void buildButtons(int profile, int top);
    void buildOnlineArea();
    void showCheck(int profile, const PadCheck::Result &result);
    void showProblems(int profile);
    void onOnlineFinished(int profile, const OnlineReport &report);
    void setOnlineRunning(bool running);

    MainWindow &m_window;
    std::array<Row, ProfileCount> m_rows{};
    std::array<PadCheck::Result, ProfileCount> m_results{};
    PadProblemsDialog *m_problemsDialog = nullptr;

    QNetworkAccessManager *m_network = nullptr;
    OnlineCheck *m_online = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    QPlainTextEdit *m_report = nullptr;
};

} // namespace tarvelo
