#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace tarvelo {

// The PAD file-open dialog.
class PadFileDialog
{
public:
    // Sets up the dialog: title, the one "XML Files" filter, and a typed name
    // of a file that does not exist is accepted.
    static void configure(QFileDialog &dialog);

    // Shows the dialog modally over owner; the chosen full path, or empty text
    // on cancel.
    static QString open(QWidget *owner);
};

} // namespace tarvelo
