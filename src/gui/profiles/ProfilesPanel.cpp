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
        connect(m_window.txtLongDesc[i], &QPlainTextEdit::textChanged, this,
                [this, i] { txtLongDesc_Change(i); });
        connect(m_window.lblLocalPad[i], &ClickableLabel::clicked, this,
                [this, i] { lblLocalPad_Click(i); });
    }
}

bool ProfilesPanel::LoadPad(int index)
{
    const std::optional<PadReader::Pad> pad = PadReader::read(m_window.txtLocalPAD[index]->text());
    if (!pad)
        return false;
    m_window.padText = pad->padText;
    const auto &order = padLoadOrder();
    for (std::size_t k = 0; k < order.size(); ++k)
        m_window.setFieldText(order[k], index, pad->values[k]);
    return true;
}

void ProfilesPanel::lblLocalPad_Click(int index)
{
    QLineEdit *path = m_window.txtLocalPAD[index];
    path->setProperty("Tag", path->text());
    path->setText(m_dialogs.openPadFile(&m_window));
    if (path->text().isEmpty())
        path->setText(path->property("Tag").toString());

    // From here on nothing is reported: a path that names no file just stays.
    if (!QFileInfo::exists(path->text()))
        return;
    LoadPad(index);
}

void ProfilesPanel::txtLongDesc_Change(int index)
{
    // Counted as the field holds it, a line break as CR LF: two characters.
    const int length = m_window.fieldText(Field::LongDesc, index).size();
    m_window.lblNumChar[index]->setText(QStringLiteral("Char: ") + QString::number(length));
}

} // namespace tarvelo
