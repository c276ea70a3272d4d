#include "form_controls.h"

#include "twips.h"

#include "core/number_text.h"

QLabel* addCaptionLabel(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->move(twips(left), twips(top));
    label->adjustSize();
    return label;
}

QLineEdit* addTextBox(QWidget* parent, const QString& name, const QString& text, QRect box,
                      QLabel* caption, Align align)
{
    auto* edit = new QLineEdit(
        localizedInitialText(text, NumberFormat::fromLocale(QLocale::system())), parent);
    edit->setObjectName(name);
    edit->setGeometry(twipsRect(box));
    edit->setAlignment((align == Align::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    // Typing goes in as plain characters: no composition window.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
    if (caption)
        caption->setBuddy(edit);
    edit->setAccessibleName(caption ? caption->text() : name);
    return edit;
}

CommandButton* addButton(QWidget* parent, const QString& name, const QString& text, QRect box)
{
    auto* button = new CommandButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(twipsRect(box));
    return button;
}

QLabel* addValueLabel(QWidget* parent, const QString& name, QRect box, const QString& rowCaption)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(twipsRect(box));
    label->setFixedSize(label->size());
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setFrameShape(QFrame::NoFrame);
    // No palette role names "active title-bar text"; Base with its own Text colour
    // gives the white field and stays readable in dark themes.
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    label->setAccessibleDescription(rowCaption);
    return label;
}

QFrame* addRule(QWidget* parent, const QString& name, int left, int right, int top)
{
    auto* rule = new QFrame(parent);
    rule->setObjectName(name);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    rule->setLineWidth(1);
    rule->setGeometry(twips(left), twips(top), twips(right) - twips(left), 1);
    return rule;
}
