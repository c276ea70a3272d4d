# Generates a batch for cli/bench.sh and cli/bench_pair.sh: a header and `rows` rows of
# `calculator`, NAVs from `base` in steps scaled by `scale`, a memo column holding `memo`.
# About one row in a hundred has a NAV of 0 and is refused, so the message path counts.
BEGIN {
    header["purchase"] = "IM,BL,FP1,FP2,FeeCovered,memo"
    header["redemption"] = "CBL,NBL,OA,Fee,memo"
    header["distribution"] = "CBL,NBL,Div,OA,memo"
    print header[calculator]
    for (i = 0; i < rows; i++) {
        nav = (i % 100 == 99) ? 0 : base + i % 3000 * (scale > 1 ? 5 : 1)
        if (calculator == "purchase")
            printf "%d,%d,%d.%d,%d,%d,%s %d\n", (1000 + i % 30000) * scale, nav, i % 4, i % 10, 8 + i % 3, i % 2, memo, i
        else if (calculator == "redemption")
            printf "%d,%d,%d.%d,0.%d,%s %d\n", base + 1500 - i % 3, nav, (10 + i % 1000) * scale, i % 10000, i % 5, memo, i
        else
            printf "%d,%d,%d,%d.%d,%s %d\n", base + 1500 - i % 7, nav, (1 + i % 500) * scale, (100 + i % 10000) * scale, i % 10, memo, i
    }
}
