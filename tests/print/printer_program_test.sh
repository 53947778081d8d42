#!/usr/bin/env bash
# Screen printing on a real printer: a CUPS scheduler of the test's own with a
# PDF printer as the default, which Wine finds through libcups. The printed
# page, made a picture, must show the window in the print look (no box in its
# slot colours, the store strip there) at the window's own size; with the
# scheduler stopped the same print must end in "Error Printing".
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
source "$here/private_cups.sh"
tests=$1 work=$2
: "${WINEPREFIX:?}"
fail() { echo "FAIL: $*"; exit 1; }
trap cups_stop EXIT
for tool in cupsd:/usr/sbin/cupsd lpadmin pdftoppm convert; do
  command -v "${tool#*:}" >/dev/null || fail "${tool%%:*} is missing (scripts/setup installs it)"
done

cups_start "$work" || fail "could not start the test's own cupsd"
info=$work/window-size
QUILLET_PRINTER=cups QUILLET_PRINT_INFO=$info \
  "$ROOT/scripts/wine-exec" "$tests" --gtest_filter='*ReachesTheDefaultPrinter' || fail "the screen print failed"
# Done once the PDF is there and no job waits.
pdf_done() { [ "$(head -c 5 "$cups_pdf" 2>/dev/null)" = "%PDF-" ] && [ -z "$(lpstat -o 2>/dev/null)" ]; }
poll 60 pdf_done || fail "no PDF came out of the printer ($(ls -l "$work/out"))"
cp "$cups_pdf" "$work/printed.pdf"
pdftoppm -r 96 -singlefile -png "$work/printed.pdf" "$work/printed" || fail "pdftoppm could not read the PDF"
png=$work/printed.png
echo "the printed page: $png"

# Pixels of a colour (within a small tolerance for the PDF's compression).
count() {
  convert "$png" -fuzz 4% -fill '#FF00FF' -opaque "$1" -fill white +opaque '#FF00FF' \
    -format '%[fx:round(mean.g*w*h)]' info: | awk -v all="$(identify -format '%[fx:w*h]' "$png")" '{ print all - $1 }'
}
lavender=$(count '#C8C8FF')  # the slot text boxes' colour at start-up
teal=$(count '#7DD2D2')      # the title boxes'
strip=$(count '#C0C0C0')     # the store strip, not whitened
echo "pixels: text-box colour $lavender, title-box colour $teal, store strip $strip"
[ "$lavender" -eq 0 ] || fail "the text boxes did not print white"
[ "$teal" -eq 0 ] || fail "the title boxes did not print white"
[ "$strip" -gt 2000 ] || fail "the window's image is not on the page"

# At 96 dots per inch the page is pixel for pixel the screen: the content
# runs from the logo's top (20 twips) to the clipboard line's bottom (5685
# twips) and from the left edge to the clipboard line's right end (window
# width - 120 twips).
read -r window_width client_width client_height <"$info" || fail "no window size from the test"
read -r tw th < <(convert "$png" -trim -format '%w %h' info:)
want_w=$((window_width - 8)) want_h=$((5685 / 15 - 20 / 15))
echo "printed content ${tw}x${th}, expected ${want_w}x${want_h} (client ${client_width}x${client_height})"
near() { [ $(($1 - $2)) -le 3 ] && [ $(($2 - $1)) -le 3 ]; }
near "$tw" "$want_w" && near "$th" "$want_h" || fail "the printed window is ${tw}x${th}, not ${want_w}x${want_h}"

cups_stop
"$ROOT/scripts/wine-exec" "$tests" --gtest_filter='*WithoutAPrinter*' || fail "with the scheduler stopped the print did not end in Error Printing"
echo "with the scheduler stopped: Error Printing, and the window's look came back"
exit 0
