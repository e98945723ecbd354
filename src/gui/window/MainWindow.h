#pragma once

#include "core/profiles/ProfileFields.h"

#include <QWidget>

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
namespace tarvelo { class TabControl; }
class QTimer;
class QToolButton;

namespace tarvelo {

class Browser;
class ClickableLabel;

template <typename T> using Profiles = std::array<T *, ProfileCount>;

// The program's one window. It owns every control, and the controls are the
// program's data: a profile field has no copy outside its text box. What the
// controls do is wired by the panels of each folder (browser, filling, profiles).
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(Browser *browser, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The current profile, held as "0", "1" or "2" in fraDesc(0)'s tag and
    // read at each use.
    int currentProfile() const;
    void setCurrentProfileTag(const QString &tag);
    QString currentProfileTag() const;

    // Any field of any profile, whatever the kind of its text box. Multi-line
    // values carry CR LF line breaks, as a PAD file and a web form expect.
    QWidget *fieldBox(Field field, int profile) const;
    QString fieldText(Field field, int profile) const;
    void setFieldText(Field field, int profile, const QString &text);
    static QString boxText(const QWidget *box);
    static void setBoxText(QWidget *box, const QString &text);

    // Asked before the window closes; returning false keeps it open.
    void setCloseHandler(std::function<bool()> handler) { m_closeHandler = std::move(handler); }
    // Stores the three local PAD paths; the tab switch back to "Main Window" calls it.
    void setSaveSettings(std::function<void()> save) { m_saveSettings = std::move(save); }

    bool browserHasFocus = false;
    // The decoded text of the PAD file read last.
    QString padText;

    // --- controls, named as the window names them ---
    QTimer *tmrGetKey = nullptr;
    TabControl *tabControl = nullptr;
    QMenu *mnuNew = nullptr;

    // "Main Window" tab
    QToolButton *cmdRefresh = nullptr;
    QToolButton *cmdForward = nullptr;
    QListWidget *lstSites = nullptr;
    QPushButton *cmdPAD = nullptr;
    QPushButton *cmdHome = nullptr;
    QToolButton *cmdBack = nullptr;
    QToolButton *cmdStop = nullptr;
    QFrame *Frame1 = nullptr;
    QFrame *fraBrowser = nullptr;
    Browser *WebBr = nullptr;
    QLabel *lblRightInfo = nullptr;
    QLabel *lblProgress = nullptr;
    QLabel *lblStatus = nullptr;

    // field buttons in Frame1
    QPushButton *cmdProgName = nullptr;
    QPushButton *cmdProgVer = nullptr;
    QPushButton *cmdAuthor = nullptr;
    QPushButton *cmdEmail = nullptr;
    QPushButton *cmdFileSize = nullptr;
    QPushButton *cmdSysReq = nullptr;
    QPushButton *cmdHomePage = nullptr;
    QPushButton *cmdProgURL = nullptr;
    QPushButton *cmdSShotURL = nullptr;
    QPushButton *cmdShortDesc = nullptr;
    QPushButton *cmdLongDesc = nullptr;
    QPushButton *cmdPADURL = nullptr;

    // "PAD Files" tab
    QWidget *tabPadFiles = nullptr;
    QFrame *fraDetalis = nullptr;
    Profiles<QLineEdit> txtPADURL{};
    Profiles<QLineEdit> txtLocalPAD{};
    Profiles<QFrame> fraDesc{};
    Profiles<ClickableLabel> lblPADURL{};
    Profiles<ClickableLabel> lblLocalPad{};

    Profiles<QLineEdit> txtAuthor{};
    Profiles<QLineEdit> txtEmail{};
    Profiles<QLineEdit> txtCompany{};
    Profiles<QLineEdit> txtProgName{};
    Profiles<QLineEdit> txtProgVer{};
    Profiles<QLineEdit> txtFileSize{};
    Profiles<QLineEdit> txtOS{};
    Profiles<QPlainTextEdit> txtSysReq{};
    Profiles<QLineEdit> txtHomePage{};
    Profiles<QLineEdit> txtProgURL{};
    Profiles<QLineEdit> txtSecURL{};
    Profiles<QLineEdit> txtSShotURL{};
    Profiles<QLineEdit> txtProgIcon{};
    Profiles<QLineEdit> txtShortDesc{};
    Profiles<QPlainTextEdit> txtLongDesc{};
    Profiles<QPlainTextEdit> txtKeywords{};
    Profiles<QLabel> lblNumChar{};
    std::array<QLabel *, 48> lblDName{};

Q_SIGNALS:
    // The window itself took or lost the keyboard focus (activation).
    void windowGotFocus();
    void windowLostFocus();
    // A mouse move over the window's background, lstSites or lblStatus.
    void backgroundMouseMove();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMainTab(QWidget *page);
    void buildBrowserFrame();
    void buildFieldButtons();
    void buildPadFilesTab(QWidget *page);
    void buildDetailPanel(int profile);
    void tabControl_Click(int previousTab);

    std::function<bool()> m_closeHandler;
    std::function<void()> m_saveSettings;
    int m_shownTab = 0;
    int m_nextDName = 0;
};

} // namespace tarvelo
