#pragma once

#include "currency.h"
#include "integer.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// The working of one calculation, written by the calculation itself as it goes: the
// inputs as stored, every intermediate value with the expression that formed it,
// every rounding and every branch, and at the end the statement's figures. A
// calculation handed no trace (a null pointer) formats nothing.
class Trace {
public:
    struct Input {
        QString caption;
        QString value; // as stored
        int order;     // the box's place in its window's tab order
    };
    struct Choice {
        QString caption;
        bool selected;
    };

    void input(const QString& caption, const QString& value, int order)
    {
        inputs_.append({caption, value, order});
    }
    void choice(const QString& caption, bool selected) { choices_.append({caption, selected}); }
    void step(const QString& line) { steps_.append(line); }

    // Boxes in the order they were read.
    [[nodiscard]] const QList<Input>& inputs() const { return inputs_; }
    [[nodiscard]] const QList<Choice>& choices() const { return choices_; }
    [[nodiscard]] const QStringList& steps() const { return steps_; }

private:
    QList<Input> inputs_;
    QList<Choice> choices_;
    QStringList steps_;
};

// Adds the line `make()` forms, only when there is a trace to add it to.
template <class Make>
void note(Trace* trace, Make&& make)
{
    if (trace)
        trace->step(make());
}

// Numbers as the working shows them: in full, plain decimal, no separators.
[[nodiscard]] QString workingText(double value); // shortest text that reads back the same double
[[nodiscard]] QString workingText(Currency value); // up to four decimals, no trailing zeros
[[nodiscard]] QString workingText(Integer value);
