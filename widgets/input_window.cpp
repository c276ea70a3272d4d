#include "input_window.h"

#include "form_controls.h"
#include "message_box.h"

#include "core/messages.h"

#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <optional>
#include <vector>

InputWindow::InputWindow(const Calculator& calculator, CalcRecord& record)
    : FixedDialog(calculator.inputs().window), record_(record), calculator_(calculator)
{
    const InputWindowDecl& decl = calculator.inputs();
    // Labels take no focus, so creating them first leaves the tab order to the boxes
    // and buttons, which are created in it: boxes top to bottom, then the buttons.
    std::vector<const BoxDecl*> tabOrder(decl.boxes.begin(), decl.boxes.end());
    std::sort(tabOrder.begin(), tabOrder.end(),
                     [](const BoxDecl* a, const BoxDecl* b) { return a->tabIndex < b->tabIndex; });
    std::vector<QLabel*> labels;
    for (const BoxDecl* box : tabOrder) {
        QLabel* label = addCaptionLabel(this, box->labelName.toString(), box->caption.toString(),
                                        box->labelAt.x(), box->labelAt.y());
        label->setToolTip(box->tooltip.toString());
        labels.push_back(label);
    }
    for (std::size_t i = 0; i < tabOrder.size(); ++i) {
        const BoxDecl* box = tabOrder[i];
        addTextBox(this, box->name.toString(), box->initialText.toString(), box->boxAt, labels[i],
                   box->align == BoxAlign::Right ? Align::Right : Align::Left);
    }
    cmdCalc_ = addButton(this, QStringLiteral("cmdCalc"), QStringLiteral("計算"), decl.calcAt);
    cmdCancel_ = addButton(this, QStringLiteral("cmdCancel"), QStringLiteral("終了"), decl.cancelAt);
    connect(cmdCalc_, &QPushButton::clicked, this, [this] { cmdCalc_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, &InputWindow::cmdCancel_Click);

    box(*tabOrder.front())->setFocus(Qt::OtherFocusReason);
}

void InputWindow::cmdCalc_Click()
{
    // The figures are formed before the statement opens, so a fault is reported here
    // instead of opening a statement with figures missing.
    Trace working;
    const CalcOutcome<QList<ShownFigure>> figures =
        calculator_.calculate(record_, {texts(), optionSelected()},
                              NumberFormat::fromLocale(QLocale::system()), &working);
    if (!figures) {
        reportFault(figures.why());
        return;
    }
    openStatement(*figures, working);
}

void InputWindow::cmdCancel_Click() { close(); }

QLineEdit* InputWindow::box(const BoxDecl& decl) const
{
    return findChild<QLineEdit*>(decl.name.toString(), Qt::FindDirectChildrenOnly);
}

BoxTexts InputWindow::texts() const
{
    BoxTexts texts;
    for (const BoxDecl* decl : calculator_.inputs().boxes)
        texts.set(*decl, box(*decl)->text());
    return texts;
}

const BoxDecl* InputWindow::faultyBox(const CalcFault& fault) const
{
    if (fault.kind() != CalcFault::Kind::MissingInput)
        return fault.box();
    // A missing input is named by its code alone, the one its box declares.
    const std::optional<int> code = missingInputCode(record_.ErrNo);
    for (const BoxDecl* decl : calculator_.inputs().boxes) {
        if (code && decl->missingCode == *code)
            return decl;
    }
    return nullptr;
}

void InputWindow::reportFault(const CalcFault& fault)
{
    showFault(this, fault, record_);
    if (const BoxDecl* faulty = faultyBox(fault)) {
        if (QLineEdit* edit = box(*faulty)) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
    }
}
