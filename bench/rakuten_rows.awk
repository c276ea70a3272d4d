# Trade history in the layout of 楽天's 取引履歴（投資信託） download, for timing how fast
# a broker's file is read: ROWS rows over FUNDS funds (default 20), oldest first, over ten
# years from 2015. Written in UTF-8; the broker's file is CP932 with CRLF, so pipe it
# through iconv:
#   awk -v rows=1000000 -f bench/rakuten_rows.awk | iconv -f UTF-8 -t CP932 >'tradehistory(INVST)_20250101.csv'
#   time build/miroven-calc ledger --as-of 2025-01-01 'tradehistory(INVST)_20250101.csv' >/dev/null
# As the broker writes it: the header unquoted, every field of a row quoted, figures with
# thousands separators, dates not zero-padded, "-" for nothing. Purchases by amount get
# the broker's units (floor(amount × 10,000 ÷ NAV), one more when that many cost less
# than the amount, 約定金額 rounded half up); one in seven is paid partly by points
# ("30,000(500)"); one row in fifty comes twice, byte for byte (two 積立 settings on one
# day). A third of the funds are in the 特定口座 and sell 10,000 units every twelfth
# month; the others buy in つみたてNISA, and from 2024 in NISAつみたて投資枠 and
# NISA成長投資枠. No 再投資 rows: paired with a distribution list they belong to it.
function grouped(n,    s, tail) {
    s = sprintf("%d", n); tail = ""
    while (length(s) > 3) {
        tail = "," substr(s, length(s) - 2) tail
        s = substr(s, 1, length(s) - 3)
    }
    return s tail
}
function q(s) { return "\"" s "\"" }
BEGIN {
    if (rows == "") rows = 1000
    if (funds == "") funds = 20
    # Every day of 2015-2024 (and a week into 2025 for the last 受渡日), as the broker writes it.
    split("31 28 31 30 31 30 31 31 30 31 30 31", length_of, " ")
    days = 0
    for (y = 2015; y <= 2025; y++)
        for (m = 1; m <= 12; m++) {
            last = length_of[m] + (m == 2 && y % 4 == 0)
            for (d = 1; d <= last; d++) {
                day[days] = y "/" m "/" d
                year[days] = y
                days++
            }
        }
    span = 3650
    printf "約定日,受渡日,ファンド名,分配金,口座,取引,買付方法,数量［口］,単価,経費,為替レート,受付金額[現地通貨],受渡金額/(ポイント利用)[円],決済通貨\r\n"
    for (i = 0; i < rows; i++) {
        if (i % 50 == 49) {
            printf "%s", line
            continue
        }
        f = i % funds
        round = int(i / funds)
        t = int(i * span / rows)
        y = year[t]
        nav = 10000 + (f * 37 + t * 13) % 5000
        course = (f % 2) ? "受取型" : "再投資型"
        if (f % 3 == 0)
            account = "特定"
        else if (y < 2024)
            account = "つみたてNISA"
        else
            account = (f % 3 == 1) ? "NISAつみたて投資枠" : "NISA成長投資枠"
        if (f % 3 == 0 && round % 12 == 11) {
            kind = "解約"; method = "-"; units = 10000
            paid = grouped(int(units * nav / 10000))
        } else {
            kind = "買付"; method = (account == "特定") ? "通常" : "積立"
            amount = (f % 4 == 0) ? 33333 : (f % 4 == 1) ? 30000 : 100000
            units = int(amount * 10000 / nav)
            if (int(units * nav / 10000 + 0.5) < amount)
                units++
            paid = grouped(amount)
            if (round % 7 == 3)
                paid = paid "(" grouped(500 + f) ")"
        }
        line = q(day[t]) "," q(day[t + 3]) "," q("ベンチ用ファンド" f) "," q(course) "," q(account) "," \
               q(kind) "," q(method) "," q(grouped(units)) "," q(grouped(nav)) "," q("0") "," q("-") "," \
               q("-") "," q(paid) "," q("円") "\r\n"
        printf "%s", line
    }
}
