#pragma once

#include <QLabel>

namespace tarvelo {

// A label that acts on a click, like the link-like labels of the PAD Files page.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace tarvelo
