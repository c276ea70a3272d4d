#!/usr/bin/env bash
# Starts Miroven on a private Xvfb display, drives it as a user would (xdotool clicks
# and typing at the windows' fixed places) and captures the main menu and each
# calculator with its statement into docs/screenshots/; then, on a wider display of its
# own, the ledger window (miroven-ledger) with the README's examples, each tab and a
# row's working, and with the brokers' samples. Build first (./run.sh or ./test.sh, or the targets miroven and
# miroven-ledger). Usage: scripts/screenshots.sh [OUTPUT_DIR]   (QT_SCALE_FACTOR is honoured)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
miroven_install_packages xvfb openbox xdotool imagemagick x11-utils fonts-noto-cjk

out=${1:-docs/screenshots}
mkdir -p "$out"
scale=${QT_SCALE_FACTOR:-1}
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 "$((800 * scale))x$((1000 * scale))x24" -nolisten tcp -wr &
xvfb=$!
miroven=; wm=
ledger=
trap 'kill $miroven $ledger $wm $xvfb 2>/dev/null || true; rm -rf "$XDG_RUNTIME_DIR"' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# A window manager, so that the pictures show title bars and window icons.
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1

build/miroven &
miroven=$!

# Screen points are given in twips, as the windows are laid out.
px() { echo $(( ($1 + 7) / 15 * scale )); }
click() { xdotool mousemove "$(px "$1")" "$(px "$2")" click 1; sleep 0.3; }
waitFor() { xdotool search --sync --onlyvisible --name "^$1\$" >/dev/null; sleep 0.5; }
typeInto() { xdotool key ctrl+a; xdotool type --delay 20 "$1"; }
# The desktop around the windows is cut away.
shot() { import -window root png:- | convert - -fuzz 2% -trim +repage "$out/$1.png"; }

# Centre of a control: window client origin + control left/top + half its size.
main_x=2370; main_y=1290
waitFor Miroven
shot main-menu

# Purchase: funds 10000 at a NAV of 10000, fee out of the funds.
click $((main_x + 240 + 1627)) $((main_y + 360 + 187))
waitFor "Miroven-購入時"
buy_x=2385; buy_y=3510
click $((buy_x + 240 + 120)) $((buy_y + 240 + 187))
xdotool key Tab; typeInto 10000
xdotool key Tab; typeInto 10000
click $((buy_x + 3480 + 547)) $((buy_y + 240 + 187))
waitFor "Miroven-購入明細"
shot purchase
click $((buy_x + 2880 + 487)) $((6525 + 240 + 187))
click $((buy_x + 3480 + 547)) $((buy_y + 720 + 187))

# Redemption: principal NAV 10000, now 12000, 100000 units, retention 0.3 %.
click $((main_x + 240 + 1627)) $((main_y + 840 + 187))
waitFor "Miroven-解約"
typeInto 10000; xdotool key Tab
typeInto 12000; xdotool key Tab
typeInto 100000
click $((2385 + 3600 + 547)) $((3540 + 120 + 187))
waitFor "Miroven-解約明細"
shot redemption
# Its context menu, then its working.
xdotool mousemove "$(px $((2385 + 600)))" "$(px $((5625 + 1000)))" click 3; sleep 0.5
shot statement-menu
xdotool key w
waitFor "Miroven-計算過程"
shot working
xdotool key Return; sleep 0.3
click $((2385 + 2760 + 487)) $((5625 + 120 + 187))
click $((2385 + 3600 + 547)) $((3540 + 600 + 187))

# Distribution: principal NAV 10000, 9950 after a distribution of 1000 on 100000 units.
click $((main_x + 240 + 1627)) $((main_y + 1320 + 187))
waitFor "Miroven-分配"
typeInto 10000; xdotool key Tab
typeInto 9950; xdotool key Tab
typeInto 1000; xdotool key Tab
typeInto 100000
click $((2385 + 3480 + 547)) $((3510 + 120 + 187))
waitFor "Miroven-解約明細"
shot distribution
click $((2415 + 3480 + 487)) $((5490 + 240 + 187))
click $((2385 + 3480 + 547)) $((3510 + 600 + 187))

click $((main_x + 3600 + 667)) $((main_y + 360 + 187))
wait $miroven
kill $wm $xvfb 2>/dev/null || true
wait $wm $xvfb 2>/dev/null || true

# The ledger window on a display wide enough for it; its settings in a scratch home, so
# that the pictures show the defaults.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 "$((1100 * scale))x$((760 * scale))x24" -nolisten tcp -wr &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
home=$(mktemp -d "$XDG_RUNTIME_DIR/home.XXXXXX")
HOME=$home XDG_CONFIG_HOME=$home build/miroven-ledger docs/examples/year.csv &
ledger=$!
waitFor "year.csv - Miroven 取引記帳"
shot ledger-rows
# Tab from the tabs through the three filters to the table, the third row, its working.
xdotool key Tab Tab Tab Tab Down Down; sleep 0.3
xdotool key Return
waitFor "Miroven-計算過程"
shot ledger-working
xdotool key Return; sleep 0.5
# 保有: today's NAV typed into the holding's line (the sixth column).
xdotool key alt+2; sleep 0.3
xdotool key Tab Right Right Right Right Right; sleep 0.2
xdotool type --delay 20 12000; xdotool key Return; sleep 0.3
xdotool key Right; xdotool type --delay 20 0.3; xdotool key Return; sleep 0.5
shot ledger-holdings
xdotool key alt+3; sleep 0.5
shot ledger-report
kill $ledger; wait $ledger 2>/dev/null || true

# グラフ of the first example: the return of principal lowers 個別元本 and 取得単価.
HOME=$home XDG_CONFIG_HOME=$home build/miroven-ledger docs/examples/events.csv &
ledger=$!
waitFor "events.csv - Miroven 取引記帳"
xdotool key alt+4; sleep 1
shot ledger-chart
kill $ledger; wait $ledger 2>/dev/null || true

# Brokers' downloads as they come, with a fund's price history and the broker's holdings
# (an invented download of one line) among them.
samples=tests/cli/broker_samples
held="$home/assetbalance(INVST)_20240701.csv"
printf '%s\n' 保有区分,ファンド,口座区分,分配金コース,保有数量［口］,平均取得価額［円］ \
    投資信託,テスト全世界株式インデックス,NISA,再投資型,70258,22774.00 >"$held"
HOME=$home XDG_CONFIG_HOME=$home build/miroven-ledger "$samples/rakuten_tradehistory(INVST)_20240701.csv" \
    "$samples/rakuten_dividendlist_20240701.csv" "$samples/sbi_SaveFile_000001_000006_yakujo_old.csv" \
    "$samples/monex_20240701-20241220.csv" "$samples/nav_20240701.csv" "$held" &
ledger=$!
waitFor "rakuten_tradehistory.* - Miroven 取引記帳"
# The table's right end: the taxes, 受渡金額, the messages and each row's file and line.
xdotool key Tab Tab Tab Tab End; sleep 0.5
shot ledger-brokers
xdotool key alt+2; sleep 0.5
shot ledger-brokers-holdings
kill $ledger; wait $ledger 2>/dev/null || true
echo "screenshots in $out"
