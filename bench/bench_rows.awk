# Generates a batch for bench/bench.sh and bench/bench_pair.sh: a header and `rows` rows of
# `calculator`, NAVs from `base` in steps scaled by `scale`, a memo column holding `memo`.
#
# `refused` percent of the rows (default 1), spread evenly, are refused for `kind`:
#   missing   a NAV of 0, a missing input (the default)
#   input     a NAV beyond the range (`range`: narrow, the default, or wide)
#   overflow  a figure beyond the range: the total of a purchase with the fee on top,
#             a redemption's tax (or today's first tax), the part of a distribution
#             below its principal (in the narrow range: no distribution overflows the
#             wide one, which calculates these rows)
# With the defaults, one row in a hundred has a NAV of 0, so the message path counts.
function big(value) { return sprintf("%.0f", value) } # beyond mawk's %d, exact up to 2^53
BEGIN {
    if (refused == "") refused = 1
    if (kind == "") kind = "missing"
    if (range == "") range = "narrow"
    header["purchase"] = "IM,BL,FP1,FP2,FeeCovered,memo"
    header["redemption"] = "CBL,NBL,OA,Fee,memo"
    header["distribution"] = "CBL,NBL,Div,OA,memo"
    print header[calculator]
    wide = range == "wide"
    top = 9007199254740991 # 2^53 - 1, the wide range's bound
    for (i = 0; i < rows; i++) {
        nav = base + i % 3000 * (scale > 1 ? 5 : 1)
        if (int((i + 1) * refused / 100) > int(i * refused / 100)) {
            if (kind == "missing") {
                nav = 0
            } else if (kind == "input") {
                nav = wide ? big(top + 1) : 32768 + i % 1000
            } else if (calculator == "purchase") {
                printf "%s,%d,3.%d,%d,0,%s %d\n", wide ? big(top - i % 1000) : 32000 + i % 700,
                    wide ? 1000000000 + i % 3000 : nav, i % 10, 8 + i % 3, memo, i
                continue
            } else if (calculator == "redemption") {
                printf "%d,%s,%s,0,%s %d\n", base + 1500 - i % 3, wide ? big(top - i % 1000) : 30000 + i % 2000,
                    wide ? "900000000000000" : 1000000 + i % 1000, memo, i
                continue
            } else {
                printf "%d,%d,%d,1000000000000,%s %d\n", base + 1500 - i % 7, base + i % 1000, 1 + i % 500, memo, i
                continue
            }
        }
        if (calculator == "purchase")
            # A fee of 0.0 would be a missing input under the classic rules.
            printf "%d,%s,%s,%d,%d,%s %d\n", (1000 + i % 30000) * scale, nav, i % 20 ? i % 4 "." i % 10 : "4.0",
                8 + i % 3, i % 2, memo, i
        else if (calculator == "redemption")
            printf "%d,%s,%d.%d,0.%d,%s %d\n", base + 1500 - i % 3, nav, (10 + i % 1000) * scale, i % 10000, i % 5, memo, i
        else
            printf "%d,%s,%d,%d.%d,%s %d\n", base + 1500 - i % 7, nav, (1 + i % 500) * scale, (100 + i % 10000) * scale, i % 10, memo, i
    }
}
