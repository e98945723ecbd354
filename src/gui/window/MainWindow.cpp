#include "gui/window/MainWindow.h"

#include "gui/window/ClickableLabel.h"
#include "gui/window/Fonts.h"
#include "gui/window/GrowthLayout.h"
#include "gui/window/TabControl.h"
#include "gui/window/TextColour.h"
#include "gui/window/Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvelo {

namespace {

constexpr int ClientWidth = 14085;
constexpr int ClientHeight = 9960;

template <typename W> W *place(W *widget, const QString &name, const QRect &twips)
{
    widget->setObjectName(name);
    widget->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return widget;
}

QString indexed(const QString &name, int i)
{
    return name + u'_' + QString::number(i);
}

// Qt's front-to-back order follows creation; the layout lists controls front
// first, so raise them back to front.
void stackFrontToBack(std::initializer_list<QWidget *> frontFirst)
{
    for (auto it = std::rbegin(frontFirst); it != std::rend(frontFirst); ++it)
        (*it)->raise();
}

// A disabled panel that still looks enabled: its fields can be read, not used.
void keepEnabledLook(QWidget *w)
{
    QPalette p = w->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        p.setColor(QPalette::Disabled, r, p.color(QPalette::Active, r));
    }
    w->setPalette(p);
}

QFrame *captionlessFrame(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return frame;
}

ClickableLabel *profileLabel(QWidget *parent, const QString &name, int top, const QString &text)
{
    auto *label = place(new ClickableLabel(parent), name, QRect(120, top, 1000, 225));
    label->setText(text);
    label->setFont(Fonts::caption());
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

// One row of a detail panel, top to bottom; the caption's left and width are
// the same on every row but the second download address's.
struct DetailRow
{
    Field field;
    int labelTop;
    int boxTop;
    int boxWidth;
    int boxHeight;
};

constexpr DetailRow detailRows[] = {
    {Field::Author, 270, 240, 3615, 285},      {Field::Email, 615, 585, 3615, 285},
    {Field::Company, 960, 930, 3615, 285},     {Field::ProgName, 1425, 1395, 3615, 285},
    {Field::ProgVer, 1770, 1740, 3615, 285},   {Field::FileSize, 2115, 2085, 3615, 285},
    {Field::OS, 2580, 2550, 3615, 285},        {Field::SysReq, 2895, 2895, 3615, 525},
    {Field::HomePage, 3630, 3600, 4815, 285},  {Field::ProgURL, 3975, 3945, 4815, 285},
    {Field::SecURL, 4320, 4290, 4815, 285},    {Field::SShotURL, 4665, 4635, 4815, 285},
    {Field::ProgIcon, 5010, 4980, 4815, 285},  {Field::ShortDesc, 5475, 5445, 4815, 285},
    {Field::LongDesc, 5790, 5790, 4815, 1485}, {Field::Keywords, 7455, 7440, 4815, 690},
};

} // namespace

MainWindow::MainWindow(QWidget *browserView, QWidget *parent)
    : QWidget(parent), m_browserView(browserView)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tarvelo"));
    // Never smaller than the size every control was placed for; larger gives
    // the browser the room.
    setMinimumSize(defaultSize());
    resize(defaultSize());
    setMouseTracking(true);
    setFont(Fonts::dialog());
    QIcon icon(QStringLiteral(":/pictures/icon16.png"));
    icon.addFile(QStringLiteral(":/pictures/icon256.png"));
    setWindowIcon(icon);

    m_keyTimer = new QTimer(this);
    m_keyTimer->setObjectName(QStringLiteral("tmrGetKey"));
    m_keyTimer->setInterval(10);

    m_tabControl =
        place(new TabControl(this), QStringLiteral("tabControl"), QRect(0, 120, 14055, 9855));
    m_tabControl->tabBar()->setFont(Fonts::tabCaption());
    QWidget *mainPage =
        m_tabControl->addPage(QStringLiteral("Main Window"), QStringLiteral("tabMainWindow"));
    QWidget *padFilesPage =
        m_tabControl->addPage(QStringLiteral("PAD Files"), QStringLiteral("tabPadFiles"));
    buildSitesPage(m_tabControl->addPage(QStringLiteral("Sites"), QStringLiteral("tabSites")));
    connect(m_tabControl, &TabControl::switched, this, &MainWindow::onTabSwitched);

    m_popupMenu = new QMenu(QStringLiteral("New"), this);
    m_popupMenu->setObjectName(QStringLiteral("mnuNew"));

    buildMainTab(mainPage);
    buildPadFilesTab(padFilesPage);
    anchorControls();
    setCurrentProfileTag(QStringLiteral("0"));

    m_keyTimer->start();
}

MainWindow::~MainWindow() = default;

QSize MainWindow::defaultSize()
{
    return twipsSize(ClientWidth, ClientHeight);
}

// How each control follows the window when it grows: the browser takes the
// extra room, the site list the extra width above it, and what stands right of
// or below the browser keeps its place beside it. A control not listed keeps
// its place and size, as the "PAD Files" page's controls do; the tab
// control's pages always cover the tab control.
void MainWindow::anchorControls()
{
    m_growth = new GrowthLayout(this, defaultSize());
    m_growth->add(m_tabControl, Anchor::Fill);

    // Above the browser
    m_growth->add(m_siteList, Anchor::TopWide);
    for (QToolButton *b : m_navButtons)
        m_growth->add(b, Anchor::TopRight);
    m_growth->add(m_padSitesButton, Anchor::TopRight);
    m_growth->add(m_homeButton, Anchor::TopRight);

    // The browser and its status line
    m_growth->add(m_browserFrame, Anchor::Fill);
    m_growth->add(m_browserView, Anchor::Fill);
    m_growth->add(m_statusLabel, Anchor::BottomLeft);
    m_growth->add(m_progressLabel, Anchor::BottomLeft);
    m_growth->add(m_undoButton, Anchor::BottomLeft);
    m_growth->add(m_rightInfoLabel, Anchor::BottomRight);

    // Below the browser: the field buttons and the controls beside them (a
    // control added there later registers with BottomLeft too).
    m_growth->add(m_fillFormButton, Anchor::BottomLeft);
    m_growth->add(m_fieldButtonFrame, Anchor::BottomLeft);
    m_growth->add(m_currentProgramLabel, Anchor::BottomLeft);
}

void MainWindow::buildMainTab(QWidget *page)
{
    addNavButton(page, NavButton::Refresh, QStringLiteral("cmdRefresh"), QStringLiteral("&Refresh"),
                 10080);
    addNavButton(page, NavButton::Forward, QStringLiteral("cmdForward"), QStringLiteral("&Forward"),
                 8040);

    m_siteList =
        place(new QListWidget(page), QStringLiteral("lstSites"), QRect(120, 360, 7035, 1410));
    m_siteList->setFont(Fonts::siteList());
    m_siteList->setToolTip(QStringLiteral("Double click on a site to load."));
    m_siteList->viewport()->setMouseTracking(true);
    m_siteList->viewport()->installEventFilter(this);

    m_padSitesButton =
        place(new QPushButton(page), QStringLiteral("cmdPAD"), QRect(11160, 1355, 735, 340));
    m_padSitesButton->setToolTip(
        QStringLiteral("Loads the list of sites which accept PAD submission"));
    m_padSitesButton->setIcon(QIcon(QStringLiteral(":/pictures/pad.png")));
    m_padSitesButton->setIconSize(QSize(35, 15));
    m_homeButton =
        place(new QPushButton(page), QStringLiteral("cmdHome"), QRect(12000, 1355, 735, 340));
    m_homeButton->setToolTip(QStringLiteral("Home"));
    m_homeButton->setIcon(QIcon(QStringLiteral(":/pictures/home.png")));
    m_homeButton->setIconSize(QSize(16, 16));

    addNavButton(page, NavButton::Back, QStringLiteral("cmdBack"), QStringLiteral("&Back"), 7200);
    addNavButton(page, NavButton::Stop, QStringLiteral("cmdStop"), QStringLiteral("&Stop"), 9240);

    m_fieldButtonFrame =
        place(captionlessFrame(page), QStringLiteral("Frame1"), QRect(1560, 9060, 10155, 750));
    buildFieldButtons();
    // Both rows of field buttons high, in the free space left of them.
    m_fillFormButton =
        place(new QPushButton(page), QStringLiteral("cmdFillForm"), QRect(120, 9090, 1380, 675));
    m_fillFormButton->setFont(Fonts::caption());
    m_fillFormButton->setText(QStringLiteral("Fill form"));
    m_fillFormButton->setToolTip(
        QStringLiteral("Fills every box of the page's form it recognises (Numpad Enter)"));
    m_currentProgramLabel =
        place(new QLabel(page), QStringLiteral("lblCurrentProgram"), QRect(11790, 9060, 2190, 750));
    m_currentProgramLabel->setFont(Fonts::caption());
    m_currentProgramLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_currentProgramLabel->setTextFormat(Qt::PlainText);

    m_browserFrame =
        place(captionlessFrame(page), QStringLiteral("fraBrowser"), QRect(120, 1715, 13900, 7300));
    buildBrowserFrame();

    stackFrontToBack({navButton(NavButton::Refresh), navButton(NavButton::Forward), m_siteList,
                      m_padSitesButton, m_homeButton, navButton(NavButton::Back),
                      navButton(NavButton::Stop), m_fillFormButton, m_fieldButtonFrame,
                      m_browserFrame});
}

void MainWindow::addNavButton(QWidget *page, NavButton button, const QString &name,
                              const QString &caption, int left)
{
    auto *b = place(new QToolButton(page), name, QRect(left, 1080, 855, 615));
    b->setText(caption);
    b->setFont(Fonts::caption());
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_navButtons[int(button)] = b;
}

void MainWindow::buildBrowserFrame()
{
    m_browserView->setParent(m_browserFrame);
    place(m_browserView, QStringLiteral("WebBr"), QRect(0, 120, 13815, 6825));

    m_rightInfoLabel = place(new QLabel(m_browserFrame), QStringLiteral("lblRightInfo"),
                             QRect(10440, 7035, 3345, 195));
    m_rightInfoLabel->setText(QStringLiteral("Right Click on the browser to get more options"));
    m_progressLabel = place(new QLabel(m_browserFrame), QStringLiteral("lblProgress"),
                            QRect(6840, 7005, 1215, 255));
    m_statusLabel =
        place(new QLabel(m_browserFrame), QStringLiteral("lblStatus"), QRect(0, 6990, 6645, 270));
    m_statusLabel->setMouseTracking(true);
    m_statusLabel->installEventFilter(this);
    for (QLabel *l : {m_progressLabel, m_statusLabel})
        setTextColour(l, palette().color(QPalette::WindowText));
    // over the status line's right end, which a short message leaves empty
    m_undoButton = place(new QToolButton(m_browserFrame), QStringLiteral("cmdUndo"),
                         QRect(5985, 6990, 660, 270));
    m_undoButton->setText(QStringLiteral("&Undo"));
    m_undoButton->setAutoRaise(true);
    m_undoButton->setFont(Fonts::caption());
    m_undoButton->setAccessibleName(QStringLiteral("Undo"));
    m_undoButton->hide();

    stackFrontToBack(
        {m_undoButton, m_browserView, m_rightInfoLabel, m_progressLabel, m_statusLabel});
}

void MainWindow::buildSitesPage(QWidget *page)
{
    // Unlike the other pages' controls, the Sites page's grow with the window.
    m_sitesLayout = new QVBoxLayout(page);
    m_sitesLayout->setContentsMargins(8, TabControl::StripHeight + 6, 8, 8);
}

QWidget *MainWindow::sitesPage() const
{
    return m_tabControl->page(2);
}

void MainWindow::setSitesTab(QWidget *tab)
{
    m_sitesLayout->addWidget(tab);
}

void MainWindow::buildFieldButtons()
{
    const auto &table = fieldButtonTable();
    for (std::size_t k = 0; k < table.size(); ++k) {
        const FieldButtonSpec &info = table[k];
        auto *button = place(new QPushButton(m_fieldButtonFrame), info.name,
                             QRect(info.left, info.top, 1695, 315));
        button->setFont(Fonts::caption());
        button->setText(info.caption);
        button->setToolTip(info.toolTip);
        m_fieldButtons[k] = button;
    }
}

QPushButton *MainWindow::fieldButton(Field field) const
{
    const auto &table = fieldButtonTable();
    for (std::size_t k = 0; k < table.size(); ++k) {
        if (table[k].field == field)
            return m_fieldButtons[k];
    }
    return nullptr;
}

void MainWindow::buildPadFilesTab(QWidget *page)
{
    m_padFilesFrame =
        place(captionlessFrame(page), QStringLiteral("fraDetalis"), QRect(120, 360, 13785, 9375));
    for (int i = 0; i < ProfileCount; ++i) {
        buildProfileRows(m_padFilesFrame, i);
        buildLanguageRow(m_padFilesFrame, i);
    }
    setTextColour(m_padUrlLabels[0], QColor(255, 0, 0));

    const auto box = [this](Field field, int i) { return fieldBox(field, i); };
    stackFrontToBack({box(Field::PADURL, 0), box(Field::PADURL, 1), box(Field::PADURL, 2),
                      box(Field::LocalPAD, 0), box(Field::LocalPAD, 1), box(Field::LocalPAD, 2),
                      m_detailPanels[0], m_detailPanels[2], m_detailPanels[1], m_padUrlLabels[0],
                      m_padUrlLabels[1], m_padUrlLabels[2], m_localPadLabels[2],
                      m_localPadLabels[1], m_localPadLabels[0]});
}

void MainWindow::buildProfileRows(QFrame *frame, int i)
{
    const int padUrlTops[] = {2010, 2400, 2820};
    const int localPadTops[] = {360, 765, 1170};
    const int padUrlLabelTops[] = {2040, 2445, 2850};
    const int localPadLabelTops[] = {390, 795, 1200};
    const QString padUrlTips[] = {QStringLiteral("Numpad 0"), QStringLiteral("Ctrl + Numpad 0"),
                                  QStringLiteral("Alt + Numpad 0")};

    auto *url = place(new QLineEdit(frame), indexed(QStringLiteral("txtPADURL"), i),
                      QRect(1140, padUrlTops[i], 3735, 285));
    url->setFont(Fonts::textBox());
    url->setPlaceholderText(fieldSpec(Field::PADURL).defaultText);
    url->setToolTip(padUrlTips[i]);
    m_fieldBoxes[i][int(Field::PADURL)] = url;

    auto *local = place(new QLineEdit(frame), indexed(QStringLiteral("txtLocalPAD"), i),
                        QRect(1200, localPadTops[i], 3675, 285));
    local->setFont(Fonts::textBox());
    local->setPlaceholderText(fieldSpec(Field::LocalPAD).defaultText);
    m_fieldBoxes[i][int(Field::LocalPAD)] = local;

    auto *panel = place(captionlessFrame(frame), indexed(QStringLiteral("fraDesc"), i),
                        QRect(5040, 0, 8745, 9375));
    panel->setProperty("Tag", QStringLiteral("0"));
    m_detailPanels[i] = panel;
    buildDetailPanel(i);

    m_padUrlLabels[i] = profileLabel(frame, indexed(QStringLiteral("lblPADURL"), i),
                                     padUrlLabelTops[i], QStringLiteral("PAD URL %1:").arg(i + 1));
    m_padUrlLabels[i]->setToolTip(padUrlTips[i]);

    m_localPadLabels[i] =
        profileLabel(frame, indexed(QStringLiteral("lblLocalPad"), i), localPadLabelTops[i],
                     QStringLiteral("Local PAD %1:").arg(i + 1));
    m_localPadLabels[i]->setToolTip(
        QStringLiteral("Click here to load the PAD file for your software"));
    setTextColour(m_localPadLabels[i], QColor(0, 0, 255));
}

void MainWindow::buildLanguageRow(QFrame *frame, int i)
{
    const int top = 3270 + 405 * i; // below the PAD URL rows
    auto *label = place(new QLabel(frame), indexed(QStringLiteral("lblLanguage"), i),
                        QRect(120, top + 30, 1000, 225));
    label->setText(QStringLiteral("Language %1:").arg(i + 1));
    label->setFont(Fonts::caption());
    auto *box = place(new QComboBox(frame), indexed(QStringLiteral("cboLanguage"), i),
                      QRect(1200, top, 3675, 315));
    box->setFont(Fonts::textBox());
    box->setEnabled(false);
    label->setBuddy(box);
    m_languageBoxes[i] = box;
}

void MainWindow::buildDetailPanel(int profile)
{
    QFrame *panel = m_detailPanels[profile];
    for (const DetailRow &row : detailRows) {
        const FieldSpec &info = fieldSpec(row.field);
        const bool secondUrl = row.field == Field::SecURL;
        auto *label =
            place(new QLabel(panel), QStringLiteral("lblDName_%1").arg(m_nextCaption++),
                  QRect(secondUrl ? 1800 : 720, row.labelTop, secondUrl ? 480 : 1560, 225));
        label->setText(info.label);
        label->setFont(Fonts::caption());
        label->setToolTip(info.labelToolTip);
        m_fieldCaptions[profile][int(row.field)] = label;
        m_fieldBoxes[profile][int(row.field)] = buildFieldBox(
            panel, info, profile, QRect(2280, row.boxTop, row.boxWidth, row.boxHeight));
    }

    auto *counter = place(new QLabel(panel), indexed(QStringLiteral("lblNumChar"), profile),
                          QRect(840, 6240, 1335, 225));
    counter->setText(QStringLiteral("Char: "));
    counter->setFont(Fonts::caption());
    m_charCountLabels[profile] = counter;

    keepEnabledLook(panel);
    panel->setEnabled(false);
}

QWidget *MainWindow::buildFieldBox(QFrame *panel, const FieldSpec &info, int profile,
                                   const QRect &twips)
{
    const QString name = indexed(info.name, profile);
    QWidget *box = nullptr;
    // The default text is a hint drawn in the empty box, never its value.
    const QString hint = info.defaultText.trimmed();
    if (info.multiLine) {
        auto *edit = place(new QPlainTextEdit(panel), name, twips);
        edit->setPlaceholderText(hint);
        edit->setVerticalScrollBarPolicy(info.scrollBar ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setTabChangesFocus(true);
        box = edit;
    } else {
        auto *line = place(new QLineEdit(panel), name, twips);
        line->setPlaceholderText(hint);
        box = line;
    }
    box->setFont(Fonts::textBox());
    box->setToolTip(info.toolTip);
    return box;
}

QLabel *MainWindow::fieldCaption(Field field, int profile) const
{
    return m_fieldCaptions[profile][int(field)];
}

QLineEdit *MainWindow::localPadBox(int profile) const
{
    return static_cast<QLineEdit *>(fieldBox(Field::LocalPAD, profile));
}

int MainWindow::currentProfile() const
{
    // Only the program writes the tag, always "0", "1" or "2"; clamp anyway so a
    // stray value can never index outside the arrays.
    const int index = currentProfileTag().toInt();
    return std::clamp(index, 0, ProfileCount - 1);
}

QString MainWindow::currentProfileTag() const
{
    return m_detailPanels[0]->property("Tag").toString();
}

void MainWindow::setCurrentProfileTag(const QString &tag)
{
    const QString before = currentProfileTag();
    m_detailPanels[0]->setProperty("Tag", tag);
    if (tag != before)
        Q_EMIT currentProfileChanged(currentProfile());
}

QString MainWindow::fieldText(Field field, int profile) const
{
    return boxText(fieldBox(field, profile));
}

void MainWindow::setFieldText(Field field, int profile, const QString &text)
{
    setBoxText(fieldBox(field, profile), text);
}

QString MainWindow::boxText(const QWidget *box)
{
    if (auto *line = qobject_cast<const QLineEdit *>(box))
        return line->text();
    if (auto *multi = qobject_cast<const QPlainTextEdit *>(box)) {
        QString text = multi->toPlainText();
        return text.replace(u'\n', crlf());
    }
    return {};
}

void MainWindow::setBoxText(QWidget *box, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        line->setText(text);
        line->setCursorPosition(0); // show a long value from its start
        return;
    }
    if (auto *multi = qobject_cast<QPlainTextEdit *>(box)) {
        // The editor keeps one line-feed per break; boxText gives CR LF back.
        QString plain = text;
        plain.replace(crlf(), QStringLiteral("\n")).replace(u'\r', u'\n');
        multi->setPlainText(plain);
    }
}

void MainWindow::onTabSwitched(int)
{
    const int shown = m_tabControl->currentIndex();
    if (shown != 0) {
        if (shown == 1)
            localPadBox(0)->setFocus();
        m_fieldButtonFrame->setEnabled(false);
        m_fillFormButton->setEnabled(false);
        return;
    }
    m_browserFrame->raise();
    if (m_saveSettings)
        m_saveSettings();
    m_fieldButtonFrame->setEnabled(true);
    m_fillFormButton->setEnabled(true);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeHandler && !m_closeHandler()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            Q_EMIT windowGotFocus();
        else
            Q_EMIT windowLostFocus();
    }
    QWidget::changeEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over controls without mouse tracking bubble up to here too; only the
    // strips the tab control leaves uncovered are the window's background.
    if (!m_tabControl->geometry().contains(event->position().toPoint()))
        Q_EMIT backgroundMouseMove();
    QWidget::mouseMoveEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove &&
        (watched == m_siteList->viewport() || watched == m_statusLabel))
        Q_EMIT backgroundMouseMove();
    return QWidget::eventFilter(watched, event);
}

} // namespace tarvelo
