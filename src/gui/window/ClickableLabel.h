#pragma once

#include <QLabel>

namespace tarvelo {

// A label that acts on a click, like the link-like labels of the PAD Files page.
// The Tab key reaches it too, and Space or Enter acts like the click; a mouse
// click does not take the focus, so clicking behaves as it always did.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tarvelo
