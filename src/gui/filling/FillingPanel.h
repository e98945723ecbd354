#pragma once

#include "core/filling/HoverPictures.h"
#include "gui/filling/NavPictures.h"
#include "core/profiles/ProfileFields.h"

#include <QHash>
#include <QObject>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace tarvelo {

class Browser;
class MainWindow;
class KeyState;

// Form filling on the main window: the twelve field buttons, the pop-up menu,
// the keypad timer, the PAD URL labels that pick the current profile, the PAD
// URL boxes that select their text on focus, and the navigation buttons'
// hover pictures. Everything ends in PasteField.
class FillingPanel : public QObject
{
    Q_OBJECT
public:
    FillingPanel(MainWindow &window, Browser &browser, KeyState &keys, QObject *parent = nullptr);

    // Puts the box's text into the element that has the focus in the page,
    // through the clipboard, and gives the keyboard focus back to the browser.
    void PasteField(QWidget *textBox);
    void SelectAllText(QLineEdit *box);

    // The grey pictures of Back, Forward, Stop and Refresh, given at start-up.
    void showNormalPictures();

    void tmrGetKey_Timer();
    void lblPADURL_Click(int index);

    // The field button a keypad key presses.
    QPushButton *fieldButton(int virtualKey) const { return m_buttonsByKey.value(virtualKey); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpFieldButtons();
    void setUpMenu();
    void setUpFocusRules();
    void setUpProfileLabels();
    void setUpHover();
    void pasteFromCurrentProfile(Field field);
    void showPictures(const HoverPictures::Changes &changes);
    QToolButton *navButton(HoverPictures::Button button) const;

    MainWindow &m_window;
    Browser &m_browser;
    KeyState &m_keys;
    HoverPictures m_hover;
    NavPictures m_pictures;
    QHash<int, QPushButton *> m_buttonsByKey;
};

} // namespace tarvelo
