#include "ledger_options.h"

#include "help_layout.h"
#include "option_table.h"

#include "calc/ledger/ledger_declaration.h"
#include "csv/broker_layouts.h"
#include "csv/ledger_words.h"

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
        "    miroven-calc ledger [オプション] [入力.csv...|-]   （省略時と - は標準入力）\n");
    text += columnList() + figureList();
    text += QStringLiteral("    証券会社の書き方も読みます（全角と半角の括弧、文字、空白は同じ）:\n");
    for (const WordGroup& group : paperWords())
        text += wrappedList(QStringLiteral("      %1: ").arg(group.name), group.words, 8);
    text += QStringLiteral(
        "    書類の数値をそのまま: 受渡金額のある買付は約定金額と手数料をそこから（ノーロードで\n"
        "      口数 × 基準価額 ÷ 10,000 との差が 1 口の価額未満なら金額指定の買付、手数料 0）、\n"
        "      解約価額のある解約は基準価額と信託財産留保額の代わりにそれで、元本払戻金のある分配は\n"
        "      お知らせの内訳どおり（分配落ち後の基準価額は空欄でも）、口数のある再投資はその口数\n"
        "    規則: 個別元本と取得単価（手数料込み）は買付と再投資の移動平均、解約では変わらず、\n"
        "      元本払戻金（分配金のうち個別元本を分配落ち後の基準価額が下回る分）だけ下がります。\n"
        "      税は普通分配金と、特定口座では年内の譲渡損益の累計にかかり、損失は今年の解約で\n"
        "      源泉徴収した分まで還付されます（1 月 1 日に 0 から）。一般口座は分配金を特定口座と\n"
        "      同じく源泉徴収し、解約の譲渡損益は示しても税は 0（確定申告で）、通算しません。\n"
        "      NISA（2024 年から）と旧NISA（2014〜2023 年の一般NISA・つみたてNISA）は非課税で、\n"
        "      別の口座です。特定/一般 はその銘柄を持っている方の口座（両方にあるか、\n"
        "      どちらにもなければ不可）。\n"
        "      払出では特定口座での取得単価がその日の基準価額になり、個別元本は引き継ぎます。\n"
        "      年末精算（2010 年から）: 特定口座の年が譲渡損失で終わると、その年の普通分配金と\n"
        "      配当と通算し、源泉徴収しすぎた税を還付する行（取引 年末精算、受渡日 12 月 31 日）\n"
        "      を、次の年の最初の行の前か出力の最後に書きます。--as-of の日に終わっていない年は\n"
        "      年末精算（見込み） の行（その日までの取引で計算）です。\n"
        "      記帳した CSV はそのまま入力にできます: 最後の 保有口数 から message までの列と\n"
        "      年末精算の行は読まずに計算し直し、その前の列は入力です\n");
    text += optionLine(4, optionHeading(u"as-of", kForLedger),
                       QStringLiteral("記帳する最後の日（既定は今日）。それより後の日付の行は\n"
                                      "記帳しません。同じ入力から同じ出力を得るには指定します"));
    text += optionLine(4, optionHeading(u"principal-rounding", kForLedger),
                       QStringLiteral("個別元本の 1 円未満の丸め。\n"
                                      "up（既定）は切り上げ: 多くの販売会社が採る方法で、\n"
                                      "端数のために元本が実際より小さくなって課税される\n"
                                      "分配金や益が増えることがありません。\n"
                                      "down は切り捨て、nearest は四捨五入（0.5 は切り上げ）"));
    text += optionLine(4, optionHeading(u"principal-average", kForLedger),
                       QStringLiteral("買付での個別元本の平均。pool（既定）は最後の解約で\n"
                                      "0 口になってからの正確な合計から: 大手証券の一社が\n"
                                      "公表する方法。printed は前回の（丸めて示された）\n"
                                      "個別元本から: 教科書や一部の取引残高報告書の方法。\n"
                                      "毎月の買付 24 回で 1〜5 円ずれ、後の分配金の内訳が\n"
                                      "変わることがあります"));
    text += optionLine(4, optionHeading(u"cost-rounding", kForLedger),
                       QStringLiteral("取得単価の丸め。up（既定）は 1 円未満切り上げ: 取引残高\n"
                                      "報告書が円単位で示す多くの証券会社の方法で、取得費が\n"
                                      "小さくなって益が増えることがありません。cent は\n"
                                      "0.01 円未満を四捨五入（小数第2位まで示す証券会社の方法）"));
    text += optionLine(4, optionHeading(u"units-rounding", kForLedger),
                       QStringLiteral("金額での買付（列 amount、受渡金額だけの買付）と再投資の\n"
                                      "口数の 1 口未満。up（既定）は切り上げ: 約定金額が指定の\n"
                                      "金額を下回りません。down は切り捨て。broker は証券会社の\n"
                                      "金額指定の買付: 金額 × 10,000 ÷ 基準価額 を切り捨て、\n"
                                      "その口数の約定金額（四捨五入）が金額に満たなければ\n"
                                      "1 口足し、約定金額はちょうど指定の金額。ネット証券の\n"
                                      "ノーロードの積立の取引報告書と合わせるにはこれを"));
    text += optionLine(4, optionHeading(u"contract-rounding", kForLedger),
                       QStringLiteral("口数での買付の約定金額 = 口数 × 基準価額 ÷ 10,000 の\n"
                                      "1 円未満。down（既定）は切り捨て、nearest は四捨五入"));
    text += optionLine(4, optionHeading(u"distribution-rounding", kForLedger),
                       QStringLiteral("分配金 = 口数 × 1万口当たりの分配金 ÷ 10,000 の 1 円未満。\n"
                                      "down（既定）は切り捨て: 多くの証券会社が公表する\n"
                                      "取引報告書の方法。nearest は四捨五入: 大手ネット証券の\n"
                                      "一社がすべての分配金で採る方法。丸めるのは税引前の\n"
                                      "分配金で一度だけ: 元本払戻金を同じく丸め、普通分配金は\n"
                                      "その残り（端数の 1 円は普通分配金に寄せます。どちらに\n"
                                      "寄せるかを定めた資料はありません）"));
    text += optionLine(4, optionHeading(u"retention-rounding", kForLedger),
                       QStringLiteral("解約での 1万口当たりの信託財産留保額の 1 円未満。\n"
                                      "down（既定）は切り捨て、nearest は四捨五入: どちらかは\n"
                                      "ファンドの運用会社が決め、目論見書に書かれています。\n"
                                      "exact は丸めません。解約代金は 解約価額 × 口数 ÷ 10,000\n"
                                      "の 1 円未満切り捨て。取引報告書の解約価額を列\n"
                                      "redemption_price に書けば丸めは要りません"));
    text += optionLine(4, optionHeading(u"no-dividend-netting", kForLedger),
                       QStringLiteral("配当等の受入れのない特定口座: 年末精算をしません"));
    text += optionLine(4, optionHeading(u"report", kForLedger),
                       QStringLiteral("行の代わりに、口座と年ごとに特定口座年間取引報告書と\n"
                                      "同じ列（年、口座、譲渡の 5 列、配当等の 10 列）を CSV で\n"
                                      "書きます。一般口座と NISA の行は当てはまる列だけ\n"
                                      "（NISA と旧NISA は税の列が空欄、一般口座は譲渡の税と\n"
                                      "通算の列が空欄）。記帳できない行は標準エラー出力に\n"
                                      "行番号と理由を出し、終了コードは 1。--format text は\n"
                                      "報告書の二つの欄（譲渡、配当等）に分けて書きます"));
    text += optionLine(4, optionHeading(u"explain", kForLedger),
                       QStringLiteral("CSV の代わりに、各行の入力と計算過程（記帳できない行は\n"
                                      "断った手順まで）と年末精算の計算を文章で出します。\n"
                                      "--report とでは、表のあとに年末精算の計算を出します"));
    text += optionLine(4, QStringLiteral("--encoding, --bom"),
                       QStringLiteral("--csv と同じ（下記）。--format json は使えません。\n"
                                      "証券会社のファイルを読むときの出力は UTF-8（--encoding cp932\n"
                                      "なら CP932）"));
    text += QStringLiteral(
        "    証券会社のダウンロード: FILE はいくつでも、次の CSV をそのまま読みます（文字コード、\n"
        "      前置きの行、引用符、桁区切りはファイルのとおり）。どれでもないファイルは 1 行目が\n"
        "      台帳の見出しなら台帳の形式、それ以外は読めません（終了コード 2）。\n");
    QStringList layouts;
    for (const broker::LayoutDecl& layout : broker::kLayouts)
        layouts.append(broker::layoutTitle(layout));
    text += wrappedList(QStringLiteral("      "), layouts, 6);
    text += QStringLiteral(
        "      楽天証券: 口座管理 → 取引履歴 → 投資信託 と 配当・分配金 の「CSV で保存」。\n"
        "      SBI証券: 取引 → 取引履歴（約定履歴）と 口座管理 → 配当金・分配金 の CSV ダウンロード。\n"
        "      マネックス証券: 取引履歴 の CSV ダウンロード。\n"
        "      ファイルが 2 つ以上か証券会社のものなら、行を日付順に並べ（同じ日は分配、再投資、\n"
        "      売買の順）、台帳の列と source（ファイル名:行）で書き、台帳の形式の 1 ファイルと\n"
        "      同じく記帳します。保有、特定口座の年、年末精算と報告書は証券会社ごとです。\n"
        "      再投資の行は同じ証券会社・銘柄・口座の 10 日以内の分配の行と一組にします。\n"
        "      ファンドでない行（MRF、株式の売買、合計）は読み飛ばし、標準エラー出力に\n"
        "      ファイル名と行を、最後にその数を出します。取り込めない行も同じく出し、終了コードは 1。\n"
        "      分配金の端数と金額指定の口数は、ファイルの証券会社の方法（オプションがあれば\n"
        "      そちら。--explain が使った方法を示します）\n");
    text += optionLine(4, optionHeading(u"nav", kForLedger),
                       QStringLiteral("運用会社が公開する基準価額の履歴（見出し 基準日,銘柄,\n"
                                      "基準価額[,分配金]、UTF-8 か CP932）。分配落ち後の基準価額や\n"
                                      "1万口当たりの分配金のない分配（SBI証券の税引後の額だけの\n"
                                      "分配、相手のない再投資）は、その日以前で最後の分配の行から\n"
                                      "それを取ります。どちらにもなければ、その行は銘柄と日付と\n"
                                      "--nav を示して断ります"));
    text += optionLine(4, optionHeading(u"fund-names", kForLedger),
                       QStringLiteral("名前の変わった銘柄: 1 行に 旧名,新名（見出しなし）。\n"
                                      "銘柄は全角と半角、空白を同じとみなして照らします"));
    text += optionLine(4, optionHeading(u"holdings", kForLedger),
                       QStringLiteral("楽天証券の保有商品（投資信託）の CSV（assetbalance(INVST)_*.csv）。\n"
                                      "記帳のあと、銘柄と口座ごとに証券会社の口数と平均取得価額を\n"
                                      "台帳のものと並べて標準エラー出力に出します。口数の違い、\n"
                                      "取得単価の 1 円以上の違い、片方だけの保有には ※ を付け、\n"
                                      "一つでもあれば終了コードは 1"));
    text += QStringLiteral("    例: miroven-calc ledger --as-of 2025-12-31 取引.csv > 記帳.csv\n"
                           "        miroven-calc ledger --report --format text 取引.csv\n"
                           "        miroven-calc ledger --distribution-rounding nearest --units-rounding broker 取引.csv\n"
                           "        miroven-calc ledger --nav 基準価額.csv --holdings 'assetbalance(INVST)_20240701.csv' \\\n"
                           "          'tradehistory(INVST)_20240701.csv' dividendlist_20240701.csv SaveFile_000001_000006.csv\n");
    return text;
}
