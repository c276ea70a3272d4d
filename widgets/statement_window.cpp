#include "statement_window.h"

#include "form_controls.h"

StatementWindow::StatementWindow(const WindowSpec& window, QRect okAt,
                                 const QList<ShownFigure>& figures)
    : FixedDialog(window)
{
    for (const ShownFigure& figure : figures) {
        const RowLayout& row = *figure.row;
        addCaptionLabel(this, row.captionName.toString(), row.caption.toString(),
                        row.captionAt.x(), row.captionAt.y());
        QLabel* value =
            addValueLabel(this, row.valueName.toString(), row.valueAt, row.caption.toString());
        value->setText(figure.text);
    }
    auto* cmdOK = addButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"), okAt);
    connect(cmdOK, &QPushButton::clicked, this, &StatementWindow::cmdOK_Click);
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void StatementWindow::cmdOK_Click() { close(); }
