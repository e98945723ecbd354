#include "gui/filling/FillingPanel.h"

#include "core/browser/FormFill.h"
#include "core/browser/FormFillScript.h"
#include "core/campaign/CampaignStore.h"
#include "core/campaign/SiteAddress.h"
#include "core/filling/FieldActions.h"
#include "core/filling/KeyState.h"
#include "core/filling/KeyTick.h"
#include "core/profiles/TidyValue.h"
#include "gui/browser/Browser.h"
#include "gui/filling/ClipboardPaste.h"
#include "gui/filling/MoreValuesMenu.h"
#include "gui/profiles/ProfilesPanel.h"
#include "gui/window/ClickableLabel.h"
#include "gui/window/MainWindow.h"
#include "gui/window/TextColour.h"

#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

// Switching on a running timer must not restart it.
void switchOn(QTimer *timer)
{
    if (!timer->isActive())
        timer->start();
}

} // namespace

FillingPanel::FillingPanel(MainWindow &window, Browser &browser, KeyState &keys, QObject *parent)
    : QObject(parent), m_window(window), m_browser(browser), m_keys(keys),
      m_clipboardPaste(new ClipboardPaste(browser, this))
{
    setUpFieldButtons();
    setUpMenu();
    setUpFocusRules();
    setUpProfileLabels();
}

FillingPanel::~FillingPanel()
{
    // the key state may outlive the panel
    m_keys.setPressListener({});
    m_keys.setShortcutsArmed({});
}

void FillingPanel::pasteField(Field field, int profile)
{
    const QString value = tidyValue(field, m_window.fieldText(field, profile));
    if (!value.isEmpty())
        teachFocusedBox(FormFill::valueName(field));
    pasteValue(value, fieldSpec(field).spokenName, profile);
}

void FillingPanel::pasteText(const QString &text, const QString &whatForStatus,
                             const QString &valueName)
{
    if (!text.isEmpty())
        teachFocusedBox(valueName);
    pasteValue(text, whatForStatus, m_window.currentProfile());
}

void FillingPanel::pasteValue(const QString &value, const QString &what, int profile)
{
    if (value.isEmpty()) {
        // The page keeps what is in its box: a paste would only wipe it.
        m_window.statusLabel()->setText(tr(" Nothing pasted: %1 of program %2 is empty")
                                            .arg(what, QString::number(profile + 1)));
    } else {
        m_clipboardPaste->paste(value);
    }
    m_browser.setFocus();
}

QString FillingPanel::siteHost() const
{
    return SiteAddress::hostKey(QUrl(m_browser.locationUrl()));
}

void FillingPanel::teachFocusedBox(const QString &valueName)
{
    const QString host = siteHost();
    if (!m_store || valueName.isEmpty() || host.isEmpty())
        return;
    // Described before the paste lands; the page runs the two in this order.
    QPointer<FillingPanel> self(this);
    m_browser.runIsolatedScript(FormFillScript::describeFocused(),
                                [self, host, valueName](const QVariant &box) {
                                    if (self && self->m_store && !box.toString().isEmpty())
                                        self->m_store->teachBox(host, box.toString(), valueName);
                                });
}

void FillingPanel::fillForm()
{
    const QString host = siteHost();
    const QHash<QString, QString> taught =
        m_store && !host.isEmpty() ? m_store->taughtBoxes(host) : QHash<QString, QString>();
    QPointer<FillingPanel> self(this);
    m_browser.runIsolatedScript(FormFillScript::fill(fillValues(), taught),
                                [self](const QVariant &answer) {
                                    if (self)
                                        self->m_window.statusLabel()->setText(
                                            FormFillScript::Outcome::from(answer).statusText());
                                });
}

QJsonObject FillingPanel::fillValues() const
{
    const int profile = m_window.currentProfile();
    const ProfilesPanel *profiles = ProfilesPanel::of(m_window);
    return FormFill::values(
        [this, profile](Field field) { return m_window.fieldText(field, profile); },
        [profiles, profile](ExtraValue extra) {
            return profiles ? profiles->extraValue(profile, extra) : QString();
        });
}

void FillingPanel::selectAllText(QLineEdit *box)
{
    box->selectAll();
}

void FillingPanel::pasteFromCurrentProfile(Field field)
{
    pasteField(field, m_window.currentProfile());
}

void FillingPanel::setUpFieldButtons()
{
    connect(m_window.fillFormButton(), &QPushButton::clicked, this, &FillingPanel::fillForm);
    for (const FieldButtonSpec &info : fieldButtonTable()) {
        const Field field = info.field;
        connect(m_window.fieldButton(field), &QPushButton::clicked, this,
                [this, field] { pasteFromCurrentProfile(field); });
    }
}

void FillingPanel::setUpMenu()
{
    QMenu *menu = m_window.popupMenu();
    QAction *fill = menu->addAction(tr("&Fill form"));
    fill->setObjectName(u"mnuFillForm"_s);
    connect(fill, &QAction::triggered, this, &FillingPanel::fillForm);
    menu->addSeparator()->setObjectName(u"mnuSepFill"_s);
    for (const MenuEntrySpec &info : popupMenuTable()) {
        QAction *entry = nullptr;
        if (info.isSeparator()) {
            entry = menu->addSeparator();
        } else {
            entry = menu->addAction(info.caption);
            const Field field = *info.field;
            connect(entry, &QAction::triggered, this,
                    [this, field] { pasteFromCurrentProfile(field); });
        }
        entry->setObjectName(info.name);
    }
    MoreValuesMenu::addTo(menu, m_window,
                          [this](const QString &text, const QString &what, const QString &name) {
                              pasteText(text, what, name);
                          });
}

void FillingPanel::setUpFocusRules()
{
    QTimer *timer = m_window.keyTimer();
    connect(timer, &QTimer::timeout, this, &FillingPanel::onKeyTimer);
    connect(&m_browser, &Browser::gotFocus, this, [this, timer] {
        switchOn(timer);
        m_browserHasFocus = true;
    });
    connect(&m_browser, &Browser::lostFocus, this, [this, timer] {
        timer->stop();
        m_browserHasFocus = false;
    });
    connect(&m_window, &MainWindow::windowGotFocus, this, [this, timer] {
        if (m_browserHasFocus)
            switchOn(timer);
    });
    connect(&m_window, &MainWindow::windowLostFocus, timer, &QTimer::stop);
    m_keys.setPressListener([this] { tickOnPress(); });
    // Inside a tick the pop-up menu is open, and the keys are the menu's.
    m_keys.setShortcutsArmed([this] { return m_browserHasFocus && !m_ticking; });
}

void FillingPanel::tickOnPress()
{
    // The press goes on to its receiver first; presses that come together
    // share one tick, as they would share the timer's.
    if (m_pressTickQueued)
        return;
    m_pressTickQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pressTickQueued = false;
            // Only where the timer would tick next: while it runs, and never
            // inside a tick of its own (its menu open).
            if (m_browserHasFocus && m_window.keyTimer()->isActive() && !m_ticking)
                onKeyTimer();
        },
        Qt::QueuedConnection);
}

void FillingPanel::onKeyTimer()
{
    using Kind = KeyTick::Action::Kind;
    const QScopedValueRollback<bool> ticking(m_ticking, true);
    const KeyTick::Action action =
        KeyTick::run(m_keys, m_window.currentProfile(), m_browserHasFocus);
    switch (action.kind) {
    case Kind::Nothing:
        return;
    case Kind::OpenMenu:
        // Stays here until the menu closes; the timer does not tick meanwhile.
        m_window.popupMenu()->exec(QCursor::pos());
        return;
    case Kind::PasteField:
        pasteField(action.field, action.profile);
        return;
    case Kind::FillForm:
        fillForm();
        return;
    case Kind::ClickFieldButton:
        if (const FieldButtonSpec *button = fieldButtonForKey(action.key))
            m_window.fieldButton(button->field)->click();
        return;
    case Kind::OpenNextSite:
        Q_EMIT nextSiteWanted();
        return;
    }
}

void FillingPanel::setUpProfileLabels()
{
    for (int i = 0; i < ProfileCount; ++i) {
        connect(m_window.padUrlLabel(i), &ClickableLabel::clicked, this,
                [this, i] { pickProfile(i); });
        m_window.fieldBox(Field::PADURL, i)->installEventFilter(this);
    }
}

void FillingPanel::pickProfile(int profile)
{
    m_window.detailPanel(profile)->raise();
    m_window.setCurrentProfileTag(QString::number(profile));
    for (int i = 0; i < ProfileCount; ++i)
        setTextColour(m_window.padUrlLabel(i), i == profile ? QColor(255, 0, 0) : QColor(0, 0, 0));
    m_window.padUrlLabel(profile)->setToolTip(u"Numpad 0"_s);
    m_window.padUrlLabel(KeyTick::nextProfile(profile))->setToolTip(u"Ctrl + Numpad 0"_s);
    m_window.padUrlLabel(KeyTick::previousProfile(profile))->setToolTip(u"Alt + Numpad 0"_s);
}

bool FillingPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        // QLineEdit places the caret itself when a click gives it the focus,
        // after this event; select once that is done.
        if (auto *box = qobject_cast<QLineEdit *>(watched)) {
            QMetaObject::invokeMethod(
                box, [this, box] { selectAllText(box); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tarvelo
