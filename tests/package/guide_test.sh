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

# A screenshot and the table that explains it are read side by side: the same page holds the
# Mosaic Options dialog's caption and the table's first and last rows.
page_of() {  # the first page whose text holds $1
  local page
  for ((page = 1; page <= pages; page++)); do
    pdftotext -f "$page" -l "$page" -layout "$pdf" - | grep -qF "$1" && { echo "$page"; return; }
  done
  echo 0
}
options_page=$(page_of "with every option at its first value")
for row in "Output Size" "Writes My_Mosaic.csv beside"; do
  pdftotext -f "$options_page" -l "$options_page" -layout "$pdf" - | grep -qF "$row" ||
    fail "the Mosaic Options table's row \"$row\" is not on page $options_page with its screenshot"
done

# The README sends readers to the chapter that holds the pictures of the options.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
named=$(tr '\n' ' ' <"$root/README.md" | grep -oE "chapter [0-9]+ \(\"How the options look" | grep -oE '[0-9]+')
holding=$(awk '/<h2/ { chapter = $0 } /How the options look/ { print chapter; exit }' "$root/docs/guide/guide.html" |
  grep -oE '>[0-9]+\.' | tr -d '>.')
[ -n "$named" ] && [ "$named" = "$holding" ] || fail "the README names chapter $named for the options' pictures, the guide has them in $holding"

pdftoppm -r 40 -png "$pdf" "$work/page"
rendered=$(ls "$work"/page-*.png | wc -l)
[ "$rendered" -eq "$pages" ] || fail "$rendered of $pages pages rendered"
for page in "$work"/page-*.png; do
  # A blank page is one flat colour: its standard deviation is zero.
  spread=$(convert "$page" -colorspace Gray -format '%[fx:standard_deviation]' info:)
  awk -v s="$spread" 'BEGIN { exit !(s > 0.01) }' || fail "$(basename "$page") is blank"
done
echo "PASS: $pages pages, $images pictures, every chapter heading"
