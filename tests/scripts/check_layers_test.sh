#!/usr/bin/env bash
# The layer check itself: a small tree in which every layer includes what it
# may passes; each deliberately wrong include, added to a fresh copy of it,
# fails the check at that file and line; the real tree passes.
#
#   check_layers_test.sh CHECK ROOT   (CHECK: scripts/check-layers, ROOT: the tree)
set -uo pipefail

check=$1
real_root=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# put ROOT FILE LINE...: appends the lines to ROOT/FILE.
put() {
  local root=$1 file=$2
  shift 2
  mkdir -p "$(dirname "$root/$file")"
  printf '%s\n' "$@" >>"$root/$file"
}

# A tree in which every include is one its folder may make.
good="$scratch/good"
put "$good" base/heapbuf.h '#pragma once' '#include <cstdlib>'
put "$good" base/string.h '#include "base/heapbuf.h"' '#include "heapbuf.h"'
put "$good" dsp/Smooth.h '#include "base/heapbuf.h"' '#include <cmath>'
put "$good" framework/IParam.h '#include "base/string.h"' '#include <cstdio>'
put "$good" framework/IGraphics.h '#include "framework/IParam.h"'
put "$good" framework/vst/IEffectVST.h '#include "framework/IGraphics.h"' '#include "VSTInterface.h"'
put "$good" framework/vst/VSTInterface.h '#include <cstdint>'
put "$good" framework/vst/EffectEntry.cpp '#include QUARRY_EFFECT_HEADER' '#include "framework/vst/IEffectVST.h"'
put "$good" framework/editor/IControl.h '#include "framework/IGraphics.h"' '#include "pix/pix_blit.h"' \
  '#include "pix/pix_cachedfont.h"' '#include "gdi/gdi.h"'
put "$good" framework/editor/controls/IKnob.cpp '#include "framework/editor/IControl.h"' '#include "pix/pix_font.h"'
put "$good" framework/linux/IGraphicsLinux.cpp '#include <X11/Xlib.h>' '#include <X11/extensions/XShm.h>' \
  '#include "framework/editor/IControl.h"' '#include <cairo-xlib.h>'
put "$good" pix/pix_pixel.h '#include <cstdint>'
put "$good" pix/pix_blit.h '#include "pix/pix_pixel.h"' '#include <png.h>'
put "$good" pix/pix_blit.cpp '#include "pix_blit.h"' '#include "../base/heapbuf.h"'
put "$good" pix/pix_font.h '#include "gdi/gdi-types.h"' '#include "pix/pix_blit.h"'
put "$good" pix/pix_cachedfont.h '#include "pix/pix_font.h"'
put "$good" pix/pix_cachedfont.cpp '#include "gdi/gdi.h"'
put "$good" pix/pix_sysbitmap.cpp '#include "gdi/gdi.h"'
put "$good" gdi/gdi-types.h '#include "pix/pix_pixel.h"'
put "$good" gdi/gdi.h '#include "gdi/gdi-types.h"' '#include <pango/pangocairo.h>' '#include <cairo.h>' \
  '#include <glib.h>' '#include <fontconfig/fontconfig.h>' '#include <hb.h>' '#include "base/string.h"'
put "$good" effects/Quarry/Quarry.cpp '#include "framework/vst/IEffectVST.h"' '#include "dsp/Smooth.h"' \
  '#include "framework/linux/IGraphicsLinux.h"' '#include <X11/Xlib.h>'
put "$good" tools/host/main.cpp '#include "framework/vst/VSTInterface.h"' '#include "tools/host/Commands.h"' \
  '#include "tools/demo/DemoRiff.h"' '#include <sndfile.h>' '#include <dlfcn.h>'
put "$good" tests/pix/blit_test.cpp '#include "pix/pix_blit.h"' '#include "framework/vst/IEffectVST.h"' \
  '#include <X11/Xlib.h>'
put "$good" bench/pix/font_bench.cpp '#include "gdi/gdi.h"'
# Not sources of the tree: hidden folders and build folders.
put "$good" .cache/x.cpp '#include <X11/Xlib.h>'
put "$good" build/CMakeFiles/probe.cpp '#include <X11/Xlib.h>'
put "$good" out/CMakeCache.txt '# configured'
put "$good" out/gen/probe.cpp '#include "pix/pix_blit.h"'
put "$good" framework/README.md '#include "pix/pix_blit.h"'

# fail NAME WHY [OUTPUT]: counts one failed check.
fail() {
  echo "FAIL: $1: $2"
  [ -n "${3:-}" ] && echo "$3"
  failures=$((failures + 1))
}

expect_pass() {
  local name=$1 root=$2 out
  out=$("$check" "$root" 2>&1) || fail "$name" "the check failed on a tree it should pass:" "$out"
}

# expect_fail NAME FILE LINE...: a fresh copy of the good tree with the lines
# appended to FILE must fail, naming FILE at the first appended line.
expect_fail() {
  local name=$1 file=$2
  shift 2
  local root="$scratch/case$((++cases))"
  cp -R "$good" "$root"
  local line=1
  [ -f "$root/$file" ] && line=$(($(wc -l <"$root/$file") + 1))
  put "$root" "$file" "$@"
  local out status
  out=$("$check" "$root" 2>&1)
  status=$?
  if [ $status -eq 0 ]; then
    fail "$name" "the check passed"
  elif ! grep -qF -- "$file:$line:" <<<"$out" && ! grep -qF -- "$file: its folder has no row" <<<"$out"; then
    fail "$name" "no report of $file:$line in:" "$out"
  elif [ "$(grep -c '^[^ ]*:[0-9]*: includes\|: its folder has no row' <<<"$out")" -ne 1 ]; then
    fail "$name" "more than the one wrong include reported:" "$out"
  fi
}
cases=0

expect_pass "small tree" "$good"

# Each row: what is wrong | the file | the line appended to it (after one
# space). Rows starting with # are comments.
while IFS='|' read -r name file line; do
  [[ -z $name || $name == \#* ]] && continue
  name=${name% }
  file=${file# }
  expect_fail "$name" "${file% }" "${line# }"
done <<'CASES'
# The core: never pix, gdi, X11 or VST headers, in either include form.
core includes pix | framework/IParam.h | #include "pix/pix_blit.h"
core includes gdi (angle form) | framework/Log.cpp | #include <gdi/gdi.h>
core includes X11 | framework/Hosts.cpp | #include <X11/Xlib.h>
core includes X11 (quoted form) | framework/Hosts.cpp | #include "X11/Xlib.h"
core includes the VST adapter | framework/IEffectBase.h | #include "framework/vst/IEffectVST.h"
core includes a VST SDK header | framework/IEffectBase.h | #include "aeffectx.h"
core includes the editor | framework/IEffectBase.cpp |   #  include   "framework/editor/IControl.h"
core includes Pango | framework/Log.cpp | #include <pango/pango.h>
# pix: the raster core never reaches gdi, not even through the cached fonts.
raster core includes gdi | pix/pix_line.cpp | #include "gdi/gdi.h"
raster core includes gdi by a relative path | pix/pix_fill.cpp | #include "../gdi/gdi-types.h"
raster core includes the cached fonts | pix/pix_line.cpp | #include "pix/pix_cachedfont.h"
cached fonts include Pango | pix/pix_cachedfont.cpp | #include <pango/pango.h>
pix includes the core | pix/pix_png.cpp | #include "framework/IParam.h"
# gdi: base and the pixel header only.
gdi includes pix beyond the pixel header | gdi/gdi-text.cpp | #include "pix/pix_blit.h"
gdi includes X11 | gdi/gdi.cpp | #include <X11/Xlib.h>
# Nothing below framework/vst/ includes it.
editor includes VST | framework/editor/IGraphics.cpp | #include "framework/vst/VSTInterface.h"
linux platform includes VST | framework/linux/IGraphicsLinux.cpp | #include "framework/vst/IEffectVST.h"
pix includes VST | pix/pix_blit.cpp | #include "framework/vst/IEffectVST.h"
gdi includes VST | gdi/gdi.cpp | #include "framework/vst/VSTInterface.h"
# The adapter reaches the editor only through the core's IGraphics.
VST adapter includes the editor | framework/vst/IEffectVST.cpp | #include "framework/editor/IControl.h"
# The editor and its controls: no X11, no Cairo or Pango of their own.
editor includes X11 | framework/editor/IGraphics.cpp | #include <X11/Xlib.h>
controls include X11 | framework/editor/controls/IKnob.cpp | #include <X11/Xutil.h>
editor includes Cairo | framework/editor/IGraphics.cpp | #include <cairo.h>
editor includes the platform | framework/editor/IGraphics.cpp | #include "framework/linux/IGraphicsLinux.h"
# dsp and base include nothing of the project above them.
dsp includes the core | dsp/Smooth.cpp | #include "framework/IParam.h"
base includes dsp | base/heapbuf.cpp | #include "dsp/Smooth.h"
base includes pix | base/string.h | #include "pix/pix_pixel.h"
# tools: public headers only.
tool includes the core | tools/host/main.cpp | #include "framework/IEffectBase.h"
tool includes pix | tools/demo/DemoRiff.cpp | #include "pix/pix_png.h"
tool includes the effect | tools/host/main.cpp | #import "effects/Quarry/Quarry.h"
# A folder outside the table.
a new folder without a row | widgets/IWidget.cpp | #include <cstdio>
CASES

expect_pass "the real tree" "$real_root"

if [ $failures -ne 0 ]; then
  echo "$failures of $((cases + 2)) checks failed"
  exit 1
fi
echo "all $((cases + 2)) checks passed"
