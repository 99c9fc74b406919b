#!/usr/bin/env bash
# Makes the seed inputs of the fuzz targets in fuzz/corpus/<target>/seed-*:
# Japanese text in CP932, every line-break form, 0x1A, NUL, lone lead bytes,
# tabs and half-width katakana, each put in front of the settings bytes its
# target reads first. Inputs the fuzzers found stay as they are.
#   fuzz/make_seeds.sh
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")"

sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# The texts, as files in a scratch folder.
texts=$(mktemp -d)
trap 'rm -rf "$texts"' EXIT
{ sjis "日本語の文章です。"; printf '\r\n'; sjis "二行目「かぎ括弧」、句読点。"; printf '\r\n'; } >"$texts/japanese-crlf"
{ printf 'a\rb\nc\r\n\n\rd'; } >"$texts/breaks"
{ printf 'before\r\n\x1a after the end mark\r\n'; } >"$texts/eof-mark"
{ printf 'nul\x00inside\r\n\x00\r\n'; } >"$texts/nul"
{ printf 'lone lead \x82'; } >"$texts/lone-lead-end"
{ printf 'a\x81\r\nb\x9f\tc\xe0\nd\xfc'; } >"$texts/lone-leads"
{ printf '\tindented\r\nx\ty\tz\r\n\t\t'; sjis "全角	タブ"; } >"$texts/tabs"
{ sjis "ｶﾀｶﾅ ﾃﾞｽ｡ ｢ﾊﾝｶｸ｣"; printf '\xdf\xa1\r\n'; } >"$texts/half-width-katakana"
{ sjis "メール mail@example.co.jp と http://www.example.jp/a?b=1 /* 注釈 */ \"文字列\" 0x1F"; } >"$texts/addresses"
{ for i in $(seq 1 12); do sjis "とても長い行が折り返されます、"; printf 'abc def ghi. '; done; } >"$texts/long-line"
{ sjis "（［｛「『括弧』」｝］）ー、。，．！？"; printf '(abc) [def]'; } >"$texts/brackets"
{ printf '%s' "$(head -c 8190 /dev/zero | tr '\0' 'a')"; printf '\r\nxy\r'; } >"$texts/block-edge"

put() {  # put TARGET NAME SETTINGS-PRINTF TEXT-FILE
  mkdir -p "corpus/$1"
  { printf "$3"; cat "$4"; } >"corpus/$1/seed-$2"
}

for file in "$texts"/*; do
  name=$(basename "$file")
  put load "$name" '' "$file"
  # lexer: bare?, mail, url, control codes, quote, commenter, hex prefix,
  # bracket count and items, start state; then the row.
  put lexer "$name-bare" '\x01' "$file"
  put lexer "$name-owner" '\x00\x01\x01\x01\x01\x01\x01\x02\x00\x06\x01' "$file"
  put lexer "$name-open" '\x00\x01\x01\x00\x02\x02\x02\x01\x02\x02' "$file"
  # wrap: tab width, wrap width, FollowRetMark, FollowPunctuation, Leading,
  # WordBreak; then the line.
  put wrap "$name-20" '\x07\x14\x00\x01\x01\x01' "$file"
  put wrap "$name-40" '\x03\x28\x01\x01\x01\x00' "$file"
  put wrap "$name-250" '\x00\xfa\x00\x00\x00\x00' "$file"
done

# edit: word wrap, width, tab, the four options, the first text (length and
# bytes), then edits: kind, place, count and text as the target reads them.
edit() {  # edit NAME SETTINGS TEXT EDITS
  mkdir -p corpus/edit
  { printf "$2"; printf "\\x$(printf '%02x' ${#3})"; printf '%s' "$3"; printf "$4"; } >"corpus/edit/seed-$1"
}
edit plain '\x00\x50\x03\x00\x00\x00\x00' $'ab\r\ncd\r\nef' '\x00\x01\x01\x03xy\r\x02\x00\x02zz\x05\x00\x04\x02ab'
edit wrapped '\x01\x14\x07\x00\x01\x01\x01' "$(head -c 45 /dev/zero | tr '\0' 'a')" '\x00\x01\x01\x02\r\n\x01\x00\x00\x00\x04\x01x'
edit exact-width '\x01\x14\x07\x00\x00\x00\x00' "$(head -c 20 /dev/zero | tr '\0' 'a')" '\x00\x00\x01\x16aaaaaaaaaaaaaaaaaaaa\r\n\x02\x00\x01x'
edit tabs '\x01\x14\x03\x01\x01\x01\x01' $'\tx\ty\tz\tw\tv\tu\tt' '\x00\x00\x00\x02\t\t\x05\x00'
edit japanese '\x01\x15\x07\x00\x01\x01\x00' "$(sjis "日本語の文章です、「かぎ」と（括弧）。とても長い行が折り返されます。")" '\x00\x01\x00\x02\x81\x76\x03\x00\x02\x82\xa0'
