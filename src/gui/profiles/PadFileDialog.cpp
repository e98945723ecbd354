#include "gui/profiles/PadFileDialog.h"

#include <QFileDialog>

namespace tarvelo {

void PadFileDialog::configure(QFileDialog &dialog)
{
    dialog.setWindowTitle(QStringLiteral("Select a PAD file"));
    dialog.setNameFilter(QStringLiteral("XML Files (*.xml *.XML)"));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setWindowModality(Qt::WindowModal);
}

QString PadFileDialog::open(QWidget *owner)
{
    QFileDialog dialog(owner);
    configure(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace tarvelo
