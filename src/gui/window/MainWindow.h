#pragma once

#include "core/filling/FieldActions.h"
#include "core/filling/NavButton.h"
#include "core/profiles/ProfileFields.h"

#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class QVBoxLayout;

namespace tarvelo {

class ClickableLabel;
class GrowthLayout;
class TabControl;

// The program's one window. It owns every control, and the controls are the
// program's data: a profile field has no copy outside its text box. What the
// controls do is wired by the panels of each folder (browser, filling,
// profiles), which reach the controls through the accessors below. Every
// control's objectName is its window name ("txtProgName_0", "cmdHome").
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    // browserView is the browser's widget; the window places it in its
    // browser frame and owns it from then on.
    explicit MainWindow(QWidget *browserView, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The size every control is placed for, and the window's smallest.
    static QSize defaultSize();
    // Re-places the controls as the window grows; a control added to the
    // window later registers here with its anchor.
    GrowthLayout *growthLayout() const { return m_growth; }

    // The current profile, held as "0", "1" or "2" in the first detail
    // panel's tag and read at each use.
    int currentProfile() const;
    void setCurrentProfileTag(const QString &tag);
    QString currentProfileTag() const;

    // Any field of any profile, whatever the kind of its text box. Multi-line
    // values carry CR LF line breaks, as a PAD file and a web form expect.
    QWidget *fieldBox(Field field, int profile) const { return m_fieldBoxes[profile][int(field)]; }
    QString fieldText(Field field, int profile) const;
    void setFieldText(Field field, int profile, const QString &text);
    static QString boxText(const QWidget *box);
    static void setBoxText(QWidget *box, const QString &text);

    // Asked before the window closes; returning false keeps it open.
    void setCloseHandler(std::function<bool()> handler) { m_closeHandler = std::move(handler); }
    // Stores the three local PAD paths; the tab switch back to "Main Window" calls it.
    void setSaveSettings(std::function<void()> save) { m_saveSettings = std::move(save); }

    // "Main Window" page
    TabControl *tabControl() const { return m_tabControl; }
    QListWidget *siteList() const { return m_siteList; }
    QToolButton *navButton(NavButton button) const { return m_navButtons[int(button)]; }
    QPushButton *padSitesButton() const { return m_padSitesButton; }
    QPushButton *homeButton() const { return m_homeButton; }
    QFrame *fieldButtonFrame() const { return m_fieldButtonFrame; }
    // The button that pastes field; nullptr for a field without one.
    QPushButton *fieldButton(Field field) const;
    // "Fill form", left of the field buttons.
    QPushButton *fillFormButton() const { return m_fillFormButton; }
    QFrame *browserFrame() const { return m_browserFrame; }
    QWidget *browserView() const { return m_browserView; }
    QLabel *statusLabel() const { return m_statusLabel; }
    QLabel *progressLabel() const { return m_progressLabel; }
    // Beside the status line while a step it reports can be taken back.
    QToolButton *undoButton() const { return m_undoButton; }
    QTimer *keyTimer() const { return m_keyTimer; }
    QMenu *popupMenu() const { return m_popupMenu; }
    // Names the current profile's program, right of the field buttons.
    QLabel *currentProgramLabel() const { return m_currentProgramLabel; }

    // "PAD Files" page
    QFrame *padFilesFrame() const { return m_padFilesFrame; }
    QFrame *detailPanel(int profile) const { return m_detailPanels[profile]; }
    // The caption beside a detail panel field's box; nullptr for the PAD URL
    // and local PAD boxes, whose captions are the two labels below.
    QLabel *fieldCaption(Field field, int profile) const;
    ClickableLabel *padUrlLabel(int profile) const { return m_padUrlLabels[profile]; }
    ClickableLabel *localPadLabel(int profile) const { return m_localPadLabels[profile]; }
    QLineEdit *localPadBox(int profile) const;
    QLabel *charCountLabel(int profile) const { return m_charCountLabels[profile]; }
    // The language a profile takes its keywords and descriptions in.
    QComboBox *languageBox(int profile) const { return m_languageBoxes[profile]; }

    // "Sites" page: the page holds the tab's widget, which fills it.
    QWidget *sitesPage() const;
    void setSitesTab(QWidget *tab);

Q_SIGNALS:
    // The window itself took or lost the keyboard focus (activation).
    void windowGotFocus();
    void windowLostFocus();
    // A mouse move over the window's background, the site list or the status line.
    void backgroundMouseMove();
    // The current profile's tag took another value.
    void currentProfileChanged(int profile);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template <typename T> using PerProfile = std::array<T *, ProfileCount>;

    void buildMainTab(QWidget *page);
    void addNavButton(QWidget *page, NavButton button, const QString &name, const QString &caption,
                      int left);
    void buildBrowserFrame();
    void buildFieldButtons();
    void buildPadFilesTab(QWidget *page);
    void buildProfileRows(QFrame *frame, int profile);
    void buildLanguageRow(QFrame *frame, int profile);
    void buildDetailPanel(int profile);
    void buildSitesPage(QWidget *page);
    QWidget *buildFieldBox(QFrame *panel, const FieldSpec &info, int profile, const QRect &twips);
    void onTabSwitched(int previousTab);
    void anchorControls();

    std::function<bool()> m_closeHandler;
    std::function<void()> m_saveSettings;
    int m_nextCaption = 0;

    QTimer *m_keyTimer = nullptr;
    GrowthLayout *m_growth = nullptr;
    TabControl *m_tabControl = nullptr;
    QMenu *m_popupMenu = nullptr;

    std::array<QToolButton *, 4> m_navButtons{};
    QListWidget *m_siteList = nullptr;
    QPushButton *m_padSitesButton = nullptr;
    QPushButton *m_homeButton = nullptr;
    QFrame *m_fieldButtonFrame = nullptr;
    std::array<QPushButton *, FieldButtonCount> m_fieldButtons{};
    QPushButton *m_fillFormButton = nullptr;
    QFrame *m_browserFrame = nullptr;
    QWidget *m_browserView = nullptr;
    QLabel *m_progressLabel = nullptr;
    QLabel *m_statusLabel = nullptr;
    QToolButton *m_undoButton = nullptr;
    QLabel *m_rightInfoLabel = nullptr;
    QLabel *m_currentProgramLabel = nullptr;

    QFrame *m_padFilesFrame = nullptr;
    PerProfile<QFrame> m_detailPanels{};
    PerProfile<ClickableLabel> m_padUrlLabels{};
    PerProfile<ClickableLabel> m_localPadLabels{};
    PerProfile<QLabel> m_charCountLabels{};
    PerProfile<QComboBox> m_languageBoxes{};
    QVBoxLayout *m_sitesLayout = nullptr;
    // Indexed [profile][field].
    std::array<std::array<QWidget *, FieldCount>, ProfileCount> m_fieldBoxes{};
    std::array<std::array<QLabel *, FieldCount>, ProfileCount> m_fieldCaptions{};
};

} // namespace tarvelo
