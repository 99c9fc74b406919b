#!/usr/bin/env bash
# Writes the small videos the date tests read (files/), with ffmpeg. The
# files are kept in the repository, so the tests need no ffmpeg; run this
# again only to change them.
#
#   tests/platform/video/make_files.sh
set -euo pipefail
cd "$(dirname "$0")/files"

# One black frame or a few, as small as the containers allow.
clip() { ffmpeg -v error -y -f lavfi -i color=c=black:s=16x16:d=0.1:r=10 -c:v libx264 -preset ultrafast "$@"; }

clip -metadata creation_time=2021-07-04T05:06:07Z dated.mp4
clip -metadata creation_time=2021-12-31T23:30:00Z dated.mov
clip -metadata creation_time=2020-02-29T12:00:00Z dated.3gp
clip -f mp4 -metadata creation_time=2019-01-01T00:00:00Z dated.m4v
clip -metadata creation_time=1904-01-01T00:00:00Z zero_1904.mp4
clip -metadata creation_time=1970-01-01T00:00:00Z zero_1970.mp4
clip undated.mp4
# AVI keeps the camera's local time in its INFO list.
ffmpeg -v error -y -f lavfi -i color=c=black:s=16x16:d=0.1:r=10 -c:v mjpeg \
  -metadata date="2006-10-26 16:46:04" recorded.avi

# AVCHD: 192-byte packets, the camera's pack in the stream's user data.
# ffmpeg writes the message with placeholder text; its bytes are then set
# to those of a camera: three entries (date with zone +09:00, time, maker);
# the text's closing zero is the last byte of the third.
ffmpeg -v error -y -f lavfi -i color=c=black:s=64x64:d=0.2:r=25 -c:v libx264 -preset ultrafast \
  -bsf:v "h264_metadata=sei_user_data=17ee8c60-f84d-11d9-8cd6-0800200c9a66+MDPMQQQQQQQQQQQQQQQ" \
  -f mpegts -mpegts_m2ts_mode 1 avchd.mts
python3 - <<'PY'
data = bytearray(open("avchd.mts", "rb").read())
placeholder = b"MDPM" + b"Q" * 15
pack = bytes([3, 0x18, 0x12, 0x20, 0x11, 0x12, 0x19, 0x13, 0x14, 0x15, 0x16, 0xE0, 0x01, 0x03, 0x01])
at = data.find(placeholder)
assert at >= 0
while at >= 0:
    data[at + 4 : at + 4 + len(pack)] = pack
    at = data.find(placeholder, at + 1)
open("avchd.mts", "wb").write(data)
PY
ls -l
