#include "working_window.h"

#include "command_button.h"

#include <QFont>
#include <QHBoxLayout>
#include <cmath>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

// The Japanese fonts the package accepts, each with Latin letters, digits and signs.
const QStringList kJapaneseFamilies = {
    QStringLiteral("Noto Sans CJK JP"), // fonts-noto-cjk
    QStringLiteral("IPAGothic"),        // fonts-ipafont-gothic
    QStringLiteral("VL Gothic"),        // fonts-vlgothic
};

} // namespace

WorkingWindow::WorkingWindow(const QString& working, QWidget* statement) : QDialog(statement)
{
    setObjectName(QStringLiteral("frmWorking"));
    setWindowTitle(QStringLiteral("Miroven-計算過程"));
    setWindowIcon(statement->windowIcon());

    auto* text = new QPlainTextEdit(working, this);
    text->setObjectName(QStringLiteral("txtWorking"));
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    // A Latin font first would hand the Japanese to a fallback font, and the digits and
    // signs after them would stay in that font at its own size ("を偶数丸め = 360"). A
    // Japanese font first draws the whole line in one family and size, whichever font
    // package is installed and whatever the locale; the size stays the program's.
    QFont font = text->font();
    QStringList families = kJapaneseFamilies;
    families.append(font.families());
    font.setFamilies(families);
    text->setFont(font);
    auto* cmdOK = new CommandButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    connect(cmdOK, &QPushButton::clicked, this, &WorkingWindow::cmdOK_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);

    // The text view as large as its text, as far as the screen allows. Measured as laid
    // out, since Japanese lines take their height from the fallback font.
    QTextDocument measure;
    measure.setDefaultFont(text->font());
    measure.setDocumentMargin(text->document()->documentMargin());
    measure.setPlainText(working);
    const int frame = 2 * text->frameWidth() + 4;
    const QSize wanted(int(std::ceil(measure.idealWidth())) + frame
                           + text->verticalScrollBar()->sizeHint().width(),
                       int(std::ceil(measure.size().height())) + frame);
    const QRect screen = (statement->screen() ? statement->screen() : this->screen())->availableGeometry();
    const QMargins margins = layout->contentsMargins();
    const int chrome = margins.top() + margins.bottom() + layout->spacing() + cmdOK->sizeHint().height();
    text->setMinimumSize(std::min(wanted.width(), screen.width() - margins.left() - margins.right() - 40),
                         std::min(wanted.height(), screen.height() - chrome - 80));
    adjustSize();

    // Just below the statement, moved up or left where the screen ends.
    const QRect below = statement->frameGeometry();
    QPoint at(below.left(), below.bottom() + 1);
    at.setX(std::max(screen.left(), std::min(at.x(), screen.right() - width())));
    at.setY(std::max(screen.top(), std::min(at.y(), screen.bottom() - height())));
    move(at);

    cmdOK->setFocus(Qt::OtherFocusReason);
}

void WorkingWindow::cmdOK_Click() { close(); }
