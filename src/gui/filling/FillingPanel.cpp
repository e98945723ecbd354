#include "gui/filling/FillingPanel.h"

#include "gui/browser/Browser.h"
#include "core/filling/FieldActions.h"
#include "core/filling/KeyState.h"
#include "core/filling/KeyTick.h"
#include "gui/window/ClickableLabel.h"
#include "gui/window/MainWindow.h"

#include <QClipboard>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// Switching on a running timer must not restart it.
void switchOn(QTimer *timer)
{
    if (!timer->isActive())
        timer->start();
}

} // namespace

FillingPanel::FillingPanel(MainWindow &window, Browser &browser, KeyState &keys, QObject *parent)
    : QObject(parent), m_window(window), m_browser(browser), m_keys(keys)
{
    setUpFieldButtons();
    setUpMenu();
    setUpFocusRules();
    setUpProfileLabels();
    setUpHover();
}

void FillingPanel::PasteField(QWidget *textBox)
{
    // No step depends on another: the clipboard keeps the value whatever the
    // page makes of the paste.
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(MainWindow::boxText(textBox));
    m_browser.selectAll();
    m_browser.paste();
    m_browser.setFocus();
}

void FillingPanel::SelectAllText(QLineEdit *box)
{
    box->selectAll();
}

void FillingPanel::pasteFromCurrentProfile(Field field)
{
    PasteField(m_window.fieldBox(field, m_window.currentProfile()));
}

void FillingPanel::setUpFieldButtons()
{
    for (const FieldButtonSpec &info : fieldButtonTable()) {
        auto *button = m_window.findChild<QPushButton *>(info.name);
        if (!button) {
            qWarning("No field button %s", qPrintable(info.name));
            continue;
        }
        button->setText(info.caption);
        const Field field = info.field;
        connect(button, &QPushButton::clicked, this,
                [this, field] { pasteFromCurrentProfile(field); });
        m_buttonsByKey.insert(info.key, button);
    }
    m_window.cmdProgName->setToolTip(u"Use Number Pad Keys"_s);
}

void FillingPanel::setUpMenu()
{
    for (const MenuEntrySpec &info : popupMenuTable()) {
        QAction *entry = nullptr;
        if (info.isSeparator()) {
            entry = m_window.mnuNew->addSeparator();
        } else {
            entry = m_window.mnuNew->addAction(info.caption);
            const Field field = *info.field;
            connect(entry, &QAction::triggered, this,
                    [this, field] { pasteFromCurrentProfile(field); });
        }
        entry->setObjectName(info.name);
    }
}

void FillingPanel::setUpFocusRules()
{
    QTimer *timer = m_window.tmrGetKey;
    connect(timer, &QTimer::timeout, this, &FillingPanel::tmrGetKey_Timer);
    connect(&m_browser, &Browser::gotFocus, this, [this, timer] {
        switchOn(timer);
        m_window.browserHasFocus = true;
    });
    connect(&m_browser, &Browser::lostFocus, this, [this, timer] {
        timer->stop();
        m_window.browserHasFocus = false;
    });
    connect(&m_window, &MainWindow::windowGotFocus, this, [this, timer] {
        if (m_window.browserHasFocus)
            switchOn(timer);
    });
    connect(&m_window, &MainWindow::windowLostFocus, timer, &QTimer::stop);
}

void FillingPanel::tmrGetKey_Timer()
{
    using Kind = KeyTick::Action::Kind;
    const KeyTick::Action action =
        KeyTick::run(m_keys, m_window.currentProfile(), m_window.browserHasFocus);
    switch (action.kind) {
    case Kind::Nothing:
        return;
    case Kind::OpenMenu:
        // Stays here until the menu closes; the timer does not tick meanwhile.
        m_window.mnuNew->exec(QCursor::pos());
        return;
    case Kind::PasteField:
        PasteField(m_window.fieldBox(action.field, action.profile));
        return;
    case Kind::ClickFieldButton:
        if (QPushButton *button = fieldButton(action.key))
            button->click();
        return;
    }
}

void FillingPanel::setUpProfileLabels()
{
    for (int i = 0; i < ProfileCount; ++i) {
        connect(m_window.lblPADURL[i], &ClickableLabel::clicked, this,
                [this, i] { lblPADURL_Click(i); });
        m_window.txtPADURL[i]->installEventFilter(this);
    }
}

void FillingPanel::lblPADURL_Click(int index)
{
    m_window.fraDesc[index]->raise();
    m_window.setCurrentProfileTag(QString::number(index));
    for (int i = 0; i < ProfileCount; ++i)
        setTextColour(m_window.lblPADURL[i], i == index ? QColor(255, 0, 0) : QColor(0, 0, 0));
    m_window.lblPADURL[index]->setToolTip(u"Numpad 0"_s);
    m_window.lblPADURL[KeyTick::nextProfile(index)]->setToolTip(u"Ctrl + Numpad 0"_s);
    m_window.lblPADURL[KeyTick::previousProfile(index)]->setToolTip(u"Alt + Numpad 0"_s);
}

void FillingPanel::setUpHover()
{
    for (auto b : {HoverPictures::Button::Back, HoverPictures::Button::Forward,
                   HoverPictures::Button::Stop, HoverPictures::Button::Refresh}) {
        QToolButton *button = navButton(b);
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
    connect(&m_window, &MainWindow::backgroundMouseMove, this,
            [this] { showPictures(m_hover.mouseMoveOverBackground()); });
}

void FillingPanel::showNormalPictures()
{
    const HoverPictures::Changes changes = m_hover.normalPictures();
    for (const auto &change : changes)
        navButton(change.button)->setIconSize(m_pictures.size(change.pictureId));
    showPictures(changes);
}

void FillingPanel::showPictures(const HoverPictures::Changes &changes)
{
    for (const auto &change : changes)
        navButton(change.button)->setIcon(m_pictures.icon(change.pictureId));
}

QToolButton *FillingPanel::navButton(HoverPictures::Button button) const
{
    switch (button) {
    case HoverPictures::Button::Back:
        return m_window.cmdBack;
    case HoverPictures::Button::Forward:
        return m_window.cmdForward;
    case HoverPictures::Button::Stop:
        return m_window.cmdStop;
    case HoverPictures::Button::Refresh:
        return m_window.cmdRefresh;
    }
    return nullptr;
}

bool FillingPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_window.cmdBack)
            showPictures(m_hover.mouseMoveOverButton(HoverPictures::Button::Back));
        else if (watched == m_window.cmdForward)
            showPictures(m_hover.mouseMoveOverButton(HoverPictures::Button::Forward));
        else if (watched == m_window.cmdStop)
            showPictures(m_hover.mouseMoveOverButton(HoverPictures::Button::Stop));
        else if (watched == m_window.cmdRefresh)
            showPictures(m_hover.mouseMoveOverButton(HoverPictures::Button::Refresh));
    } else if (event->type() == QEvent::FocusIn) {
        // QLineEdit places the caret itself when a click gives it the focus,
        // after this event; select once that is done.
        if (auto *box = qobject_cast<QLineEdit *>(watched)) {
            QMetaObject::invokeMethod(
                box, [this, box] { SelectAllText(box); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tarvelo
