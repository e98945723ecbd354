#include "gui/profiles/ProfilesPanel.h"

#include "core/profiles/PadReader.h"
#include "gui/window/ClickableLabel.h"
#include "gui/window/Dialogs.h"
#include "gui/window/MainWindow.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tarvelo {

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
    }
}

bool ProfilesPanel::loadPad(int profile)
{
    const std::optional<PadReader::Pad> pad =
        PadReader::read(m_window.localPadBox(profile)->text());
    if (pad) {
        m_padText = pad->padText;
        const auto &order = padLoadOrder();
        for (std::size_t k = 0; k < order.size(); ++k)
            m_window.setFieldText(order[k], profile, pad->values[k]);
    }
    emit profileLoaded(profile);
    return pad.has_value();
}

void ProfilesPanel::choosePadFile(int profile)
{
    QLineEdit *path = m_window.localPadBox(profile);
    path->setProperty("Tag", path->text());
    path->setText(m_dialogs.openPadFile(&m_window));
    if (path->text().isEmpty())
        path->setText(path->property("Tag").toString());

    // From here on nothing is reported: a path that names no file just stays.
    if (!QFileInfo::exists(path->text()))
        return;
    loadPad(profile);
}

void ProfilesPanel::countLongDescription(int profile)
{
    // Counted as the field holds it, a line break as CR LF: two characters.
    const int length = m_window.fieldText(Field::LongDesc, profile).size();
    m_window.charCountLabel(profile)->setText(QStringLiteral("Char: ") + QString::number(length));
}

} // namespace tarvelo
