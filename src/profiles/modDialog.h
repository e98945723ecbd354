#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace tarvelo::modDialog {

// Sets up the PAD file-open dialog: title, the one "XML Files" filter, and a
// typed name of a file that does not exist is accepted.
void configurePadDialog(QFileDialog &dialog);

// Shows the dialog modally over form; the chosen full path, or empty text on cancel.
QString OpenPadDialog(QWidget &form);

} // namespace tarvelo::modDialog
