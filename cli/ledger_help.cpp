#include "ledger_options.h"

#include "help_layout.h"
#include "option_table.h"

#include "calc/ledger/ledger_declaration.h"

namespace {

using namespace ledger;

QString named(QStringView name, QStringView note)
{
    return note.isEmpty() ? name.toString() : QStringLiteral("%1（%2）").arg(name, note);
}

// The columns a file may hold, the events among them.
QString columnList()
{
    QStringList events;
    for (const EventDecl& e : kEvents)
        events.append(named(QStringLiteral("%1 %2").arg(QString::fromUtf8(e.japanese), QLatin1String(e.english)), e.note));
    QStringList required;
    QStringList columns;
    for (const ColumnDecl& column : kColumns) {
        if (column.required)
            required.append(column.code.toString());
        const QString name = QStringLiteral("%1 %2").arg(column.code, column.caption);
        columns.append(column.reading == CellReading::EventName
                           ? QStringLiteral("%1（%2）").arg(name, events.join(QStringLiteral("、")))
                           : named(name, column.note));
    }
    return QStringLiteral("    入力の列（列名か見出し、順は自由。%1 は必須、ほかは省略時空欄）:\n")
               .arg(required.join(QStringLiteral("、")))
           + wrappedList(QStringLiteral("      "), columns, 6);
}

QString figureList()
{
    QStringList figures;
    for (const FigureDecl& figure : kFigures)
        figures.append(named(figure.caption, figure.note));
    return wrappedList(QStringLiteral("    出力: 入力の列のあとに "), figures, 6);
}

} // namespace

QString ledgerHelpText()
{
    QString text = QStringLiteral(
        "  ledger        取引の CSV を順に記帳し、証券会社の報告書と同じ数値を出します\n"
        "    miroven-calc ledger [オプション] [入力.csv|-]   （省略時と - は標準入力）\n");
    text += columnList() + figureList();
    text += QStringLiteral(
        "    規則: 個別元本と取得単価（手数料込み）は買付と再投資の移動平均、解約では変わらず、\n"
        "      元本払戻金（分配金のうち個別元本を分配落ち後の基準価額が下回る分）だけ下がります。\n"
        "      税は普通分配金と、特定口座では年内の譲渡損益の累計にかかり、損失は今年の解約で\n"
        "      源泉徴収した分まで還付されます（1 月 1 日に 0 から）。NISA は非課税です。\n"
        "      払出では特定口座での取得単価がその日の基準価額になり、個別元本は引き継ぎます。\n"
        "      年末精算: 特定口座の年が譲渡損失で終わると、その年の普通分配金と配当と通算し、\n"
        "      源泉徴収しすぎた税を還付する行（取引 年末精算、受渡日 12 月 31 日）を、次の年の\n"
        "      最初の行の前か出力の最後に書きます\n");
    text += optionLine(4, optionHeading(u"principal-rounding", kForLedger),
                       QStringLiteral("個別元本の 1 円未満の丸め。\n"
                                      "up（既定）は切り上げ: 多くの販売会社が採る方法で、\n"
                                      "端数のために元本が実際より小さくなって課税される\n"
                                      "分配金や益が増えることがありません。\n"
                                      "down は切り捨て、nearest は四捨五入（0.5 は切り上げ）"));
    text += optionLine(4, optionHeading(u"cost-rounding", kForLedger),
                       QStringLiteral("取得単価の丸め。up（既定）は 1 円未満切り上げ: 取引残高\n"
                                      "報告書が円単位で示す多くの証券会社の方法で、取得費が\n"
                                      "小さくなって益が増えることがありません。cent は\n"
                                      "0.01 円未満を四捨五入（小数第2位まで示す証券会社の方法）"));
    text += optionLine(4, optionHeading(u"units-rounding", kForLedger),
                       QStringLiteral("金額での買付と再投資の口数の 1 口未満。up（既定）は\n"
                                      "切り上げ: 多くの販売会社の方法で、約定金額が指定の\n"
                                      "金額を下回りません。down は切り捨て"));
    text += optionLine(4, optionHeading(u"no-dividend-netting", kForLedger),
                       QStringLiteral("配当等の受入れのない特定口座: 年末精算をしません"));
    text += optionLine(4, optionHeading(u"report", kForLedger),
                       QStringLiteral("行の代わりに、口座と年ごとの特定口座年間取引報告書の\n"
                                      "数値（年、口座、譲渡の対価の額、取得費及び譲渡に要した\n"
                                      "費用の額等、差引金額、配当等の額、二つの源泉徴収税額）を\n"
                                      "CSV で書きます。--format text では表で書きます"));
    text += optionLine(4, optionHeading(u"explain", kForLedger),
                       QStringLiteral("CSV の代わりに、各行の入力と計算過程（記帳できない行は\n"
                                      "断った手順まで）と年末精算の計算を文章で出します。\n"
                                      "--report とでは、表のあとに年末精算の計算を出します"));
    text += optionLine(4, QStringLiteral("--encoding, --bom"),
                       QStringLiteral("--csv と同じ（下記）。--format json は使えません"));
    text += QStringLiteral("    例: miroven-calc ledger 取引.csv > 記帳.csv\n"
                           "        miroven-calc ledger --report --format text 取引.csv\n");
    return text;
}
