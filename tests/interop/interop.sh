#!/usr/bin/env bash
# One interop check between the codec (through lumacore-avi under Wine) and
# Debian's ffmpeg, at 720x486, 1280x720 and 1920x1080, two frames each:
#   interop.sh PREFIX LUMACORE_AVI WORKDIR written-by-codec FOURCC
#     the codec writes an AVI; ffmpeg decodes it to the codec's own samples
#   interop.sh PREFIX LUMACORE_AVI WORKDIR written-by-ffmpeg FOURCC
#     ffmpeg writes an AVI; the codec decodes it to ffmpeg's samples
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1 exe=$2 work=$3 direction=$4 fourcc=$5
sizes=(720x486 1280x720 1920x1080)
mkdir -p "$work"
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }
# Every step says so when it fails, with what it printed.
# A run that ends with a failure and has printed nothing at all never got to
# the program's own reporting (seen, rarely, when Wine starts a program while
# busy): it is run once more.
avi() {
  local out rc=0
  out=$("$here/../../scripts/wine-run.sh" "$prefix" "$exe" "$@" 2>&1) || rc=$?
  if [ $rc -ne 0 ] && [ -z "$out" ]; then
    echo "lumacore-avi $* exited with $rc without a word; once more" >&2
    rc=0
    out=$("$here/../../scripts/wine-run.sh" "$prefix" "$exe" "$@" 2>&1) || rc=$?
  fi
  [ $rc -eq 0 ] || fail "lumacore-avi $* exited with $rc: $(tail -n 5 <<<"$out")"
  printf '%s\n' "$out"
}
ff() { ffmpeg -v error -nostdin -y "$@" || fail "ffmpeg $* exited with $?"; }
same() { # A B WHAT
  [ -s "$1" ] || fail "$3: $1 is empty"
  cmp -s "$1" "$2" || fail "$3: $(cmp "$1" "$2" 2>&1 | head -1)"
  echo "PASS: $3"
}

# The layout ffmpeg decodes each FourCC to, and the FourCC whose bytes are
# that layout when the codec writes them.
case $fourcc in
  UYVY) pix=uyvy422 ref=UYVY ;;
  YUY2) pix=yuyv422 ref=YUY2 ;;
  YVYU) pix=yvyu422 ref=YVYU ;;
  YV12) pix=yuv420p ref=I420 ;;  # ffmpeg returns the planes in Y, Cb, Cr order
  I420 | IYUV) pix=yuv420p ref=$fourcc ;;
  v210) pix=yuv422p10le ref=v210 ;;
  *) fail "no ffmpeg layout for $fourcc" ;;
esac

for size in "${sizes[@]}"; do
  w=${size%x*} h=${size#*x}
  tag="$fourcc $size"
  rm -f "$fourcc-$size".*
  case $direction in
    written-by-codec)
      file=$fourcc-$size.avi
      avi encode --fourcc "$fourcc" --size "$size" --frames 2 --pattern noise "$file" >/dev/null
      [ "$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_tag_string,width,height \
            -of csv=p=0 "$file")" = "$fourcc,$w,$h" ] || fail "$tag: ffprobe sees another stream"
      avi decode "$file" --to "$ref" --raw "$fourcc-$size.codec" >/dev/null
      ff -i "$file" -f rawvideo -pix_fmt "$pix" "$fourcc-$size.ffmpeg"
      if [ "$fourcc" = v210 ]; then
        "$here/v210_unpack.py" "$w" "$h" "$fourcc-$size.codec" "$fourcc-$size.codec.planar"
        same "$fourcc-$size.codec.planar" "$fourcc-$size.ffmpeg" "$tag: ffmpeg decodes the codec's AVI to its samples"
      else
        same "$fourcc-$size.codec" "$fourcc-$size.ffmpeg" "$tag: ffmpeg decodes the codec's AVI to its samples"
      fi
      ;;
    written-by-ffmpeg)
      file=$fourcc-$size.avi
      src=(-f lavfi -i "testsrc2=size=$size:rate=25" -frames:v 2)
      case $fourcc in
        v210) ff "${src[@]}" -pix_fmt yuv422p10le -c:v v210 "$file" ;;
        # ffmpeg stores planes as given: swap Cb and Cr first for a true YV12.
        YV12) ff "${src[@]}" -vf format=yuv420p,shuffleplanes=0:2:1,format=yuv420p -c:v rawvideo -vtag YV12 "$file" ;;
        *) ff "${src[@]}" -pix_fmt "$pix" -c:v rawvideo -vtag "$fourcc" "$file" ;;
      esac
      # The stream's own bytes, decoded by the codec to the same FourCC.
      if [ "$fourcc" = v210 ]; then
        ff -i "$file" -c:v copy -f rawvideo "$fourcc-$size.expected"
      else
        ff -i "$file" -f rawvideo -pix_fmt "$pix" "$fourcc-$size.expected"
      fi
      avi decode "$file" --to "$ref" --raw "$fourcc-$size.codec" >/dev/null
      same "$fourcc-$size.codec" "$fourcc-$size.expected" "$tag: the codec decodes ffmpeg's AVI to $ref"
      # And to a second layout, which ffmpeg also produces without loss.
      case $fourcc in
        UYVY) other=YUY2 opix=yuyv422 ;;
        YUY2) other=UYVY opix=uyvy422 ;;
        *) other= ;;
      esac
      if [ -n "$other" ]; then
        avi decode "$file" --to "$other" --raw "$fourcc-$size.codec2" >/dev/null
        ff -i "$file" -f rawvideo -pix_fmt "$opix" "$fourcc-$size.expected2"
        same "$fourcc-$size.codec2" "$fourcc-$size.expected2" "$tag: the codec decodes ffmpeg's AVI to $other"
      fi
      ;;
    *) fail "direction: written-by-codec or written-by-ffmpeg" ;;
  esac
  rm -f "$fourcc-$size".*
done
