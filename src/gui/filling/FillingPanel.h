#pragma once

#include "core/profiles/ProfileFields.h"

#include <QJsonObject>
#include <QObject>

class QLineEdit;

namespace tarvelo {

class Browser;
class CampaignStore;
class ClipboardPaste;
class MainWindow;
class KeyState;

// Form filling on the main window: the twelve field buttons, the pop-up menu,
// the keypad timer, the PAD URL labels that pick the current profile and the
// PAD URL boxes that select their text on focus. Everything ends in pasteField.
class FillingPanel : public QObject
{
    Q_OBJECT
public:
    FillingPanel(MainWindow &window, Browser &browser, KeyState &keys, QObject *parent = nullptr);
    ~FillingPanel() override;

    // Puts the field's tidy value into the element that has the focus in the
    // page, through the clipboard, and gives the keyboard focus back to the
    // browser. An empty value leaves the page as it is and says so in the
    // status line. The clipboard ends up holding what it held before.
    void pasteField(Field field, int profile);
    // The same for a value that has no text box, of the current profile;
    // valueName (FormFill's) is what the box is taught as.
    void pasteText(const QString &text, const QString &whatForStatus,
                   const QString &valueName = {});

    // Writes the current program's values into every box of the page it
    // recognises and that holds nothing typed yet, in one page script; the
    // status line says how many boxes it filled and how many are left.
    void fillForm();

    // Where pasted fields are taught (site and box to field) and where the
    // fill looks first; null, the default: no learning.
    void setCampaignStore(CampaignStore *store) { m_store = store; }
    void selectAllText(QLineEdit *box);

    // One tick of the keypad timer.
    void onKeyTimer();
    // A tick right after a newly recorded press, instead of up to 10 ms later.
    void tickOnPress();
    // A PAD URL label's click: its profile becomes the current one.
    void pickProfile(int profile);

    // Whether the keyboard focus is in the browser, as its focus events said last.
    bool browserHasFocus() const { return m_browserHasFocus; }

Q_SIGNALS:
    // Keypad + was pressed in the page: the site list opens its next site.
    void nextSiteWanted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpFieldButtons();
    void setUpMenu();
    void setUpFocusRules();
    void setUpProfileLabels();
    void pasteFromCurrentProfile(Field field);
    void pasteValue(const QString &value, const QString &what, int profile);
    void teachFocusedBox(const QString &valueName);
    QString siteHost() const;
    QJsonObject fillValues() const;

    MainWindow &m_window;
    Browser &m_browser;
    KeyState &m_keys;
    ClipboardPaste *m_clipboardPaste;
    CampaignStore *m_store = nullptr;
    bool m_browserHasFocus = false;
    bool m_ticking = false;
    bool m_pressTickQueued = false;
};

} // namespace tarvelo
