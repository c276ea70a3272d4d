#pragma once

#include <QDialog>
#include <QRect>

// A modal window of fixed client size that opens with its client area at a fixed
// place on the screen, has no Enter or Esc button, and closes only from its own
// buttons or its title bar.
class FixedDialog : public QDialog {
public:
    enum class MaximizeBox { No, Yes };

    // `clientTwips`: the client area's screen position and size, in twips.
    FixedDialog(const QString& caption, const QString& iconPath, QRect clientTwips,
                MaximizeBox maximize = MaximizeBox::No);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
