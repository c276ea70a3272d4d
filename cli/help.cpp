#include "help.h"

#include "batch.h"
#include "calculators.h"
#include "help_layout.h"
#include "ledger_options.h"
#include "option_table.h"

#include "core/tax_law.h"

namespace {

QString calculatorSection(const CliCalculator& calculator)
{
    QString text = QStringLiteral("  %1  %2\n").arg(calculator.name.toString(), -12)
                       .arg(calculator.summary.toString());
    for (const BoxOption& option : calculator.options) {
        const QString omitted =
            option.currentDefault.isEmpty()
                ? option.box->initialText.toString()
                : QStringLiteral("%1、--rules current では %2")
                      .arg(option.box->initialText.toString(), option.currentDefault.toString());
        const QStringView description =
            option.description.isEmpty() ? option.box->caption : option.description;
        text += optionLine(4, QStringLiteral("--%1 数値").arg(option.name.toString()),
                           QStringLiteral("%1（省略時 %2、CSV の列 %3）")
                               .arg(description.toString(), omitted,
                                    option.box->fieldName().toString()));
    }
    if (const OptionDecl* option = calculator.calculator.option()) {
        text += optionLine(4, QStringLiteral("--%1").arg(kFeeCoveredOption.toString()),
                           QStringLiteral("%1\n（CSV の列 %2 か %3: 1 か 0、省略時 0）")
                               .arg(option->caption.toString(),
                                    kFeeCoveredColumn.toString(),
                                    kFeeCoveredShortCaption.toString()));
    }
    const QStringList captions = calculator.calculator.statementCaptions(RuleSet::Windows);
    const QStringList current = calculator.calculator.statementCaptions(RuleSet::Current);
    text += QStringLiteral("    明細: %1\n").arg(captions.join(QStringLiteral("、")));
    if (current != captions)
        text += QStringLiteral("    --rules current の明細: %1\n").arg(current.join(QStringLiteral("、")));
    return text;
}

} // namespace

QString helpText()
{
    QString text = QStringLiteral(
        "miroven-calc: 投資信託の購入・解約・分配金を Miroven の画面と同じ規則で計算します\n"
        "\n"
        "使い方:\n"
        "  miroven-calc 計算 [オプション]                 1 件を計算して明細を表示\n"
        "  miroven-calc 計算 --csv [入力.csv] > 出力.csv   CSV の各行を計算\n"
        "  miroven-calc ledger [入力.csv...|-] > 出力.csv  取引の CSV や証券会社の CSV を記帳\n"
        "  miroven-calc --help | --version\n"
        "\n"
        "計算とそのオプション（省略した値は画面を開いたときの値）:\n");
    for (const CliCalculator& calculator : cliCalculators())
        text += calculatorSection(calculator);
    text += ledgerHelpText();
    text += QStringLiteral("\n共通のオプション:\n");
    text += optionLine(2, optionHeading(u"format", kForCalculators),
                       QStringLiteral("明細の形式。text（既定）は「項目<TAB>数値」の行、\n"
                                      "json は 1 行の JSON オブジェクト"));
    text += optionLine(2, optionHeading(u"explain", kForCalculators),
                       QStringLiteral("明細のあとに計算過程（入力、途中の値と式、丸め、\n"
                                      "分岐、最後に明細）を続けます。classic の規則では解約と\n"
                                      "分配金の計算過程の最後に、画面と同じく現行の税制での\n"
                                      "税額を（参考）として添えます。計算を断るときは\n"
                                      "断った手順までの計算過程と、その手順と項目を出します。\n"
                                      "--csv とは使えません"));
    text += optionLine(2, optionHeading(u"range", kForCalculators),
                       QStringLiteral("整数（資金、基準価額、手数料、税金、分配金など）の範囲。\n"
                                      "narrow（既定）は画面と同じ -32768〜32767、\n"
                                      "wide は ±9007199254740991（2^53 − 1、double で\n"
                                      "正確に表せる整数）。規則も丸めも同じです。\n"
                                      "画面はいつも narrow です。--csv とも使えます。\n"
                                      "narrow の範囲を超えて断るときは、メッセージに範囲と\n"
                                      "「（--range wide で広い範囲）」を添えます"));
    text += optionLine(2, optionHeading(u"rules", kForCalculators),
                       QStringLiteral("計算の規則。\n"
                                      "classic（既定）: Miroven の画面と同じ規則（windows とも書けます）\n"
                                      "current: 現行の税制と、今日の投資信託に合わせた入力の扱い\n"
                                      "classic は画面のとおり、税金は益の 0.2 を偶数丸め、\n"
                                      "分配後元本基準価額は元本と分配後の基準価額の小さい方、\n"
                                      "販売手数料の 0 は入力がないものとして断り、負の値も\n"
                                      "計算します。current は現行の税制: 1 円未満を切り捨てた\n"
                                      "益または課税分配金から、%1\n"
                                      "と%2 をそれぞれ 1 円未満切り捨て（0 以下には課税\n"
                                      "なし）。明細の税金のあとに二つの税の行が加わります。\n"
                                      "分配後元本基準価額は個別元本: 元本の基準価額から 1万口\n"
                                      "当たりの元本払戻金（非課税分配金 × 10000 ÷ 所有口数を\n"
                                      "偶数丸め）を引いた値。--tax の省略時は 10。解約の\n"
                                      "--principal-nav には取得単価（個別元本に購入時手数料と\n"
                                      "その消費税を加えた 1万口当たりの額）を入れると、益が\n"
                                      "証券会社の計算と同じになります。計算過程の見出しに規則を\n"
                                      "示し、二つの税を課税対象と切り捨てとともに示します。\n"
                                      "current では販売手数料 0（ノーロード）も計算し、負の\n"
                                      "資金・基準価額・口数・分配金と、0〜100 の外の % は\n"
                                      "断ります。--csv とも使えます\n"
                                      "例: miroven-calc redemption --rules current\n"
                                      "    --principal-nav 10000 --nav 12000 --units 100000")
                           .arg(incomeTaxText(currentTaxLaw()), residentTaxText(currentTaxLaw())));
    text += optionLine(2, optionHeading(u"nisa", kForCalculators),
                       QStringLiteral("NISA 口座: 解約の益にも課税分配金にも課税しません（税の行\n"
                                      "は 0）。分配金の内訳と分配後元本基準価額はそのまま。\n"
                                      "どちらの規則とも、--csv とも使えます\n"
                                      "例: miroven-calc distribution --rules current --nisa\n"
                                      "    --principal-nav 10000 --nav 9800 --distribution 50 --units 10000"));
    text += optionLine(2, optionHeading(u"csv", kForCalculators),
                       QStringLiteral("入力.csv（省略か - なら標準入力）の CSV（見出しの行\n"
                                      "つき、列の順は自由、改行は LF、CR LF、CR）を 1 行ずつ\n"
                                      "計算して標準出力に CSV で書きます。出力の列は入力の\n"
                                      "列のまま、続いて明細の各項目、最後に message（計算\n"
                                      "できない行は画面と同じメッセージ、明細は空欄）。\n"
                                      "見出しは列の記号（IM など）か画面の項目名（購入資金\n"
                                      "など）で、前後の空白は無視します。ない列はオプションを\n"
                                      "省略したときの値をとるので、必要なのは省略時 0 の列\n"
                                      "だけです。表計算ソフトの書き方も読みます: % の列の\n"
                                      "3% や 3.00%、FeeCovered の TRUE/FALSE、はい/いいえ、\n"
                                      "全角の文字、マイナス記号 −、見出しの（％）"));
    text += optionLine(2, optionHeading(u"encoding", kForCalculators),
                       QStringLiteral("CSV の文字コード。省略時は入力の先頭 1 MiB から判断し、\n"
                                      "UTF-8 でなく CP932（Excel の「CSV (カンマ区切り)」）\n"
                                      "なら CP932。出力も同じ文字コードで書きます"));
    text += optionLine(2, optionHeading(u"bom", kForCalculators),
                       QStringLiteral("UTF-8 の出力の先頭に BOM を付けます（Excel で開くとき\n"
                                      "に必要）。入力に BOM があれば指定しなくても付きます"));
    text += optionLine(2, QStringLiteral("-h, --help"), QStringLiteral("この説明を表示します"));
    text += optionLine(2, QStringLiteral("--version"), QStringLiteral("版を表示します"));
    text += QStringLiteral(
        "\n"
        "数値は「.」を小数点、「,」を 3 桁ごとの区切りとして書きます（ロケールによりません）。\n"
        "値は --fee 3 とも --fee=3 とも書けます。「--」で始まる引数は値ではなく次のオプションです。\n"
        "\n"
        "終了状態: 0 すべて計算できた、1 計算できないもの（行）があった、\n"
        "          2 使い方の誤り、読めない入力、または書き込みの失敗\n");
    return text;
}
