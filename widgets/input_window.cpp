#include "input_window.h"

#include "form_controls.h"
#include "message_box.h"

#include <QLineEdit>

#include <algorithm>
#include <vector>

InputWindow::InputWindow(const InputWindowSpec& spec) : FixedDialog(spec.window), spec_(spec)
{
    // Labels take no focus, so creating them first leaves the tab order to the boxes
    // and buttons, which are created in it: boxes top to bottom, then the buttons.
    std::vector<const BoxSpec*> tabOrder(spec.boxes.begin(), spec.boxes.end());
    std::stable_sort(tabOrder.begin(), tabOrder.end(), [](const BoxSpec* a, const BoxSpec* b) {
        return a->boxAt.y() < b->boxAt.y();
    });
    std::vector<QLabel*> labels;
    for (const BoxSpec* box : tabOrder) {
        QLabel* label = addCaptionLabel(this, box->labelName.toString(), box->caption.toString(),
                                        box->labelAt.x(), box->labelAt.y());
        label->setToolTip(box->tooltip.toString());
        labels.push_back(label);
    }
    for (std::size_t i = 0; i < tabOrder.size(); ++i) {
        const BoxSpec* box = tabOrder[i];
        addTextBox(this, box->name.toString(), box->initialText.toString(), box->boxAt, labels[i],
                   box->align == BoxAlign::Right ? Align::Right : Align::Left);
    }
    cmdCalc_ = addButton(this, QStringLiteral("cmdCalc"), QStringLiteral("計算"), spec.calcAt);
    cmdCancel_ = addButton(this, QStringLiteral("cmdCancel"), QStringLiteral("終了"), spec.cancelAt);
    connect(cmdCalc_, &QPushButton::clicked, this, [this] { cmdCalc_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, &InputWindow::cmdCancel_Click);

    box(*tabOrder.front())->setFocus(Qt::OtherFocusReason);
}

void InputWindow::cmdCancel_Click() { close(); }

QLineEdit* InputWindow::box(const BoxSpec& spec) const
{
    return findChild<QLineEdit*>(spec.name.toString(), Qt::FindDirectChildrenOnly);
}

BoxTexts InputWindow::texts() const
{
    BoxTexts texts;
    for (const BoxSpec* spec : spec_.boxes)
        texts.set(*spec, box(*spec)->text());
    return texts;
}

bool InputWindow::reportFault(const CalcOutcome& outcome, const CalcRecord& record)
{
    if (outcome.isDone())
        return false;
    showOutcome(this, outcome, record);
    if (const BoxSpec* refused = outcome.box()) {
        if (QLineEdit* edit = box(*refused)) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
    }
    return true;
}
