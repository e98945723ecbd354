#include "gui/profiles/ProfilesPanel.h"

#include "core/profiles/TidyValue.h"
#include "gui/window/ClickableLabel.h"
#include "gui/window/Dialogs.h"
#include "gui/window/Lifecycle.h"
#include "gui/window/MainWindow.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace tarvelo {

namespace {

bool inLanguage(Field field)
{
    return field == Field::Keywords || field == Field::ShortDesc || field == Field::LongDesc;
}

} // namespace

ProfilesPanel::ProfilesPanel(MainWindow &window, Dialogs &dialogs)
    : QObject(&window), m_window(window), m_dialogs(dialogs)
{
    for (int i = 0; i < ProfileCount; ++i) {
        auto *longDescription =
            static_cast<QPlainTextEdit *>(m_window.fieldBox(Field::LongDesc, i));
        connect(longDescription, &QPlainTextEdit::textChanged, this,
                [this, i] { countLongDescription(i); });
        connect(m_window.localPadLabel(i), &ClickableLabel::clicked, this,
                [this, i] { choosePadFile(i); });
        QLineEdit *path = m_window.localPadBox(i);
        connect(path, &QLineEdit::returnPressed, this, [this, i] { showNamedFile(i); });
        connect(path, &QLineEdit::editingFinished, this, [this, i] { onPathEdited(i); });
        connect(m_window.languageBox(i), &QComboBox::currentTextChanged, this,
                [this, i](const QString &language) { setLanguage(i, language); });
        // The panels lie on one another: the top one hides the others whole,
        // their character counters too.
        m_window.detailPanel(i)->setAutoFillBackground(true);
        m_window.fieldBox(Field::PADURL, i)
            ->setProperty(Lifecycle::PadUrlFromFile, m_window.fieldText(Field::PADURL, i));
    }
    connect(&m_window, &MainWindow::currentProfileChanged, this,
            &ProfilesPanel::showCurrentProgram);
    showCurrentProgram();
}

ProfilesPanel *ProfilesPanel::of(const MainWindow &window)
{
    return window.findChild<ProfilesPanel *>(QString(), Qt::FindDirectChildrenOnly);
}

bool ProfilesPanel::loadPad(int profile)
{
    const bool read = readPad(profile);
    Q_EMIT profileLoaded(profile);
    return read;
}

bool ProfilesPanel::readPad(int profile)
{
    m_window.localPadBox(profile)->setModified(false);
    std::optional<PadReader::Pad> pad = PadReader::read(m_window.localPadBox(profile)->text());
    if (!pad)
        return false;
    m_padText = pad->padText;
    m_languages[profile] = pad->language();
    m_pads[profile] = std::move(pad);
    showPad(profile);
    return true;
}

void ProfilesPanel::showNamedFile(int profile)
{
    if (!readPad(profile)) {
        // Nothing of an earlier file may stay in a profile that names another.
        m_pads[profile].reset();
        m_languages[profile].clear();
        showPad(profile);
        const QString path = m_window.localPadBox(profile)->text();
        if (!path.isEmpty())
            m_dialogs.messageBox(&m_window, QStringLiteral("Couldn't load Local PAD ") + path,
                                 QStringLiteral("Error"), QMessageBox::Warning, QMessageBox::Ok,
                                 QMessageBox::Ok);
    }
    Q_EMIT profileLoaded(profile);
}

void ProfilesPanel::onPathEdited(int profile)
{
    // Leaving the box as it was keeps the profile, and a corrected PAD URL.
    if (m_window.localPadBox(profile)->isModified())
        showNamedFile(profile);
}

void ProfilesPanel::choosePadFile(int profile)
{
    const QString chosen = m_dialogs.openPadFile(&m_window);
    if (chosen.isEmpty())
        return;
    m_window.localPadBox(profile)->setText(chosen);
    showNamedFile(profile);
}

QString ProfilesPanel::extraValue(int profile, ExtraValue extra) const
{
    const std::optional<PadReader::Pad> &pad = m_pads[profile];
    return pad ? pad->extraValue(extra, m_languages[profile]) : QString();
}

void ProfilesPanel::setLanguage(int profile, const QString &language)
{
    if (!m_pads[profile] || language == m_languages[profile])
        return;
    m_languages[profile] = language;
    showLanguageValues(profile);
}

void ProfilesPanel::showPad(int profile)
{
    const std::optional<PadReader::Pad> &pad = m_pads[profile];
    for (Field field : padLoadOrder()) {
        if (!inLanguage(field))
            m_window.setFieldText(field, profile,
                                  tidyValue(field, pad ? pad->value(field) : QString()));
    }
    showLanguageValues(profile);
    QWidget *padUrl = m_window.fieldBox(Field::PADURL, profile);
    padUrl->setProperty(Lifecycle::PadUrlFromFile, MainWindow::boxText(padUrl));
    showLanguages(profile);
    showCurrentProgram();
}

void ProfilesPanel::showLanguageValues(int profile)
{
    const std::optional<PadReader::Pad> &pad = m_pads[profile];
    for (Field field : {Field::Keywords, Field::ShortDesc, Field::LongDesc}) {
        const QString raw = pad ? pad->value(field, m_languages[profile]) : QString();
        m_window.setFieldText(field, profile, tidyValue(field, raw));
    }
}

void ProfilesPanel::showLanguages(int profile)
{
    QComboBox *box = m_window.languageBox(profile);
    const QSignalBlocker quiet(box);
    box->clear();
    if (m_pads[profile])
        box->addItems(m_pads[profile]->languages());
    box->setCurrentText(m_languages[profile]);
    box->setEnabled(box->count() > 1);
}

void ProfilesPanel::showCurrentProgram()
{
    const int profile = m_window.currentProfile();
    QLabel *label = m_window.currentProgramLabel();
    const QString name = m_window.fieldText(Field::ProgName, profile);
    const QString shown = label->fontMetrics().elidedText(name, Qt::ElideRight, label->width() - 4);
    label->setText(QStringLiteral("Program %1:\n").arg(profile + 1) + shown);
    label->setToolTip(name);
}

void ProfilesPanel::countLongDescription(int profile)
{
    // Counted as the field holds it, a line break as CR LF: two characters.
    const int length = m_window.fieldText(Field::LongDesc, profile).size();
    m_window.charCountLabel(profile)->setText(QStringLiteral("Char: ") + QString::number(length));
}

} // namespace tarvelo
