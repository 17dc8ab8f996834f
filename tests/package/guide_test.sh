#!/usr/bin/env bash
# The printed guide: enough pages, every chapter's heading in its text, the screenshots in it,
# and pages that render to pictures with something on them.
# Usage: guide_test.sh Tilvane.pdf WORK_FOLDER
set -euo pipefail
pdf=$1
work=$2
rm -rf "$work" && mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" -ge 8 ] || fail "only $pages pages"
text=$(pdftotext -layout "$pdf" -)
for heading in "What Tilvane does" "Getting started" "Making a mosaic, step by step" \
               "Extracting tiles from a mosaic" "stretch or crop, gaps, limits" "The File menu" \
               "The Help menu and the About box" "The command-line tool" "Files beside the program"; do
  grep -qF "$heading" <<<"$text" || fail "no heading \"$heading\""
done
images=$(pdfimages -list "$pdf" | awk 'NR > 2' | wc -l)
[ "$images" -ge 8 ] || fail "only $images pictures"

# The Mosaic Options screenshot shares its page with its table's first and last rows.
for ((page = 1; page <= pages; page++)); do
  beside=$(pdftotext -f "$page" -l "$page" "$pdf" -)
  [[ $beside == *"with every option at its first value"* ]] && break
done
for row in "Output Size" "Writes My_Mosaic.csv beside"; do
  [[ $beside == *"$row"* ]] || fail "\"$row\" is not beside the Mosaic Options screenshot"
done
# The README sends readers to the chapter that holds the pictures of the options.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
named=$(tr '\n' ' ' <"$root/README.md" | grep -oE 'chapter [0-9]+ \("How the options look' | grep -oE '[0-9]+' || true)
holding=$(awk '/<h2/ { c = $0 } /How the options look/ { print c; exit }' "$root/docs/guide/guide.html" | grep -oE '>[0-9]+' | tr -d '>')
[ "${named:-none}" = "$holding" ] || fail "the README names chapter ${named:-none} for the options' pictures, the guide $holding"

pdftoppm -r 40 -png "$pdf" "$work/page"
rendered=$(ls "$work"/page-*.png | wc -l)
[ "$rendered" -eq "$pages" ] || fail "$rendered of $pages pages rendered"
for page in "$work"/page-*.png; do
  # A blank page is one flat colour: its standard deviation is zero.
  spread=$(convert "$page" -colorspace Gray -format '%[fx:standard_deviation]' info:)
  awk -v s="$spread" 'BEGIN { exit !(s > 0.01) }' || fail "$(basename "$page") is blank"
done
echo "PASS: $pages pages, $images pictures, every chapter heading"
