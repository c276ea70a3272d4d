#pragma once

#include "command_button.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

// The controls the windows are built from, placed in twips relative to the client
// area. Each gets its name as objectName, so tests and assistive tools find it.

// A caption label that sizes itself to its text.
QLabel* addCaptionLabel(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top);

// A single-line box with its initial text and no input method.
// `caption` is the row's label, which names the box to assistive tools.
enum class Align { Left, Right };
QLineEdit* addTextBox(QWidget* parent, const QString& name, const QString& text, QRect twips,
                      QLabel* caption, Align align = Align::Left);

CommandButton* addButton(QWidget* parent, const QString& name, const QString& text, QRect twips);

// A fixed-size, borderless, left-aligned figure on a white field. Its row caption
// becomes its accessible description; its accessible name stays the figure itself.
QLabel* addValueLabel(QWidget* parent, const QString& name, QRect twips,
                      const QString& rowCaption);

// A horizontal rule from `left` to `right` at `top`, in twips.
QFrame* addRule(QWidget* parent, const QString& name, int left, int right, int top);
