# The ledger benchmarks' history: EVENTS events over HOLDINGS holdings, as CSV.
#   awk -v events=EVENTS -v holdings=HOLDINGS -f bench/ledger_rows.awk
BEGIN {
    print "date,fund,account,event,units,amount,nav,fee_rate,distribution,retention,memo"
    split("買付 買付 分配 再投資 買付 解約 分配 買付 解約 再投資", kinds, " ")
    for (i = 0; i < events; i++) {
        h = i % holdings
        round = int(i / holdings)
        t = i * 10 / events
        # Ten years that are over, so that no row is after --as-of's default, today.
        year = 2014 + int(t)
        month = 1 + int((t - int(t)) * 12)
        day = 1 + int(((t - int(t)) * 12 - (month - 1)) * 28)
        kind = kinds[round % 10 + 1]
        nav = (i % 100 == 99) ? 0 : 9000 + (h * 7 + round * 13) % 3000
        account = (h % 5 == 0) ? "NISA" : "特定"
        units = ""; amount = ""; rate = ""; dist = ""; retention = ""
        if (kind == "買付") {
            if (round % 2) { amount = 100000 + h * 10; rate = "1.65" } else units = 100000 + h
        } else if (kind == "分配" || kind == "再投資") {
            dist = 10 + round % 90
        } else {
            units = 20000; retention = "0.3"
        }
        printf "%04d-%02d-%02d,ファンド%d,%s,%s,%s,%s,%d,%s,%s,%s,row %d\n", year, month, day, h, account, kind, units, amount, nav, rate, dist, retention, i
    }
}
