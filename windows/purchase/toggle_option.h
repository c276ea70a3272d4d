#pragma once

#include <QRadioButton>

// A lone option button that the mouse and Space switch on and off. It stays an
// auto-exclusive radio button, so assistive tools announce it as one. A click or Space
// only ever selects it, as with any option; clearing is left to whoever handles mouseUp.
class ToggleOption : public QRadioButton {
    Q_OBJECT

public:
    ToggleOption(const QString& text, QWidget* parent);

    // Unlike a click, this can also clear the option.
    void setSelected(bool selected);

signals:
    // A mouse button pressed on the option was released, wherever the pointer now is.
    // The toolkit's own handling of the release (a click may select) has already run.
    // Space (or Select) pressed and released on the option counts as such a release.
    void mouseUp();

protected:
    void nextCheckState() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void initStyleOption(QStyleOptionButton* option) const override;

private:
    Qt::MouseButtons pressedHere_;
};
