#!/usr/bin/env bash
# The wizard end to end: cross-compiles Farrowdale.exe, trimlet.exe and the test
# driver with mingw-w64, runs the wizard under Wine in a virtual X server as a
# person would, and checks that every file it packs equals what trimlet.exe
# writes for the same input and options. Pictures of the three pages are saved
# under build/mingw/wizard-e2e/shots.
#   tests/wizard/run.sh BUILD_DIR    (BUILD_DIR: the native build, for its trimlet)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
native="${1:-}"
cross="$root/build/mingw"

# What the test needs, installed when missing; the time it takes is printed.
need=()
command -v x86_64-w64-mingw32-g++ >/dev/null || need+=(g++-mingw-w64-x86-64)
command -v wine >/dev/null || need+=(wine wine64)
[ -f /usr/share/wine/fonts/tahoma.ttf ] || need+=(fonts-wine)
command -v Xvfb >/dev/null || need+=(xvfb)
[ -x /usr/bin/convert ] || need+=(imagemagick)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
"$root/scripts/apt-install.sh" --no-recommends "${need[@]}"

# Warnings that only the Windows build shows (a 32-bit long) are printed but do
# not stop the test: the native builds hold the line with -Werror.
started=$(date +%s)
toolchain=()
[ -f "$cross/CMakeCache.txt" ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake")
cmake -S "$root" -B "$cross" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMLET_WERROR=OFF \
  "${toolchain[@]}" >/dev/null
nice -n 10 cmake --build "$cross" -j 2 --target Farrowdale trimlet wizard_driver
echo "wizard: cross-compiled in $(( $(date +%s) - started )) s"

e2e="$cross/wizard-e2e"
rm -rf "$e2e/work" "$e2e/expect" "$e2e/shots"
mkdir -p "$e2e/work/in/one" "$e2e/work/in/two" "$e2e/work/out/group" "$e2e/expect" "$e2e/shots"
winpath() { echo "Z:$1" | tr / '\\'; }

# The inputs: a script with locals and strings, a second one in code page 1251,
# and an HTML page whose script blocks are packed.
cat >"$e2e/work/in/single.js" <<'JS'
// Counts the words of a sentence.
function countWords(sentence) {
  var words = sentence.split(" ")
  var count = 0
  for (var i = 0; i < words.length; i++) {
    if (words[i] != "") count++
  }
  return count
}
var greeting = "Hello, world"
alert(countWords(greeting))
JS
printf 'var caption = "\xcf\xf0\xe8\xe2\xe5\xf2";\nfunction show(text) {\n  var box = document.getElementById("box")\n  box.innerHTML = text\n}\nshow(caption)\n' \
  >"$e2e/work/in/one/lib.js"
cat >"$e2e/work/in/two/page.html" <<'HTML'
<html>
<head><title>Page</title></head>
<body>
<script type="text/javascript">
  function twice(value) {
    var result = value * 2
    return result
  }
  document.write("twice: " + twice(21))
</script>
</body>
</html>
HTML

export WINEPREFIX="$cross/wine/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
mkdir -p "$cross/wine"
xvfb_pid=""
cleanup() {
  wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

started=$(date +%s)
rm -f "$e2e/display"
Xvfb -displayfd 6 -screen 0 1024x768x24 -nolisten tcp 6>"$e2e/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do [ -s "$e2e/display" ] && break; sleep 0.1; done
[ -s "$e2e/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$e2e/display")"
nice -n 10 wineboot -i >/dev/null 2>&1 || true
wineserver -w
echo "wizard: Wine ready on $DISPLAY in $(( $(date +%s) - started )) s"

# What the console program writes, under Wine, for each file the wizard packs.
(
  cd "$e2e/work"
  nice -n 10 wine "$cross/cli/trimlet.exe" 'in\single.js' '..\expect\single-on.js' >/dev/null
  nice -n 10 wine "$cross/cli/trimlet.exe" -nse -nvc 'in\single.js' '..\expect\single-off.js' >/dev/null
  nice -n 10 wine "$cross/cli/trimlet.exe" 'in\one\lib.js' '..\expect\lib.js' >/dev/null
  nice -n 10 wine "$cross/cli/trimlet.exe" 'in\two\page.html' '..\expect\page.html' >/dev/null
)
status=0
# A file name outside any ANSI code page, through the UTF-16 command line.
cp "$e2e/work/in/single.js" "$e2e/work/мой файл ✓.js"
(cd "$e2e/work" && nice -n 10 wine "$cross/cli/trimlet.exe" -q -o 'вывод ✓.js' 'мой файл ✓.js' >/dev/null 2>&1)
if cmp -s "$e2e/work/вывод ✓.js" "$e2e/expect/single-on.js"; then
  echo "ok: trimlet.exe packs a file named in Cyrillic and symbols"
else
  echo "FAIL: trimlet.exe did not pack a file with a Unicode name"; status=1
fi
rm -f "$e2e/work/мой файл ✓.js" "$e2e/work/вывод ✓.js"
if [ -n "$native" ] && [ -x "$native/cli/trimlet" ]; then
  "$native/cli/trimlet" "$e2e/work/in/single.js" "$e2e/native-single.js" >/dev/null
  if cmp -s "$e2e/native-single.js" "$e2e/expect/single-on.js"; then
    echo "ok: trimlet.exe under Wine writes what the native trimlet writes"
  else
    echo "FAIL: trimlet.exe and the native trimlet differ"; status=1
  fi
fi

started=$(date +%s)
if ! nice -n 10 timeout 600 wine "$cross/wizard/wizard_driver.exe" \
  "$(winpath "$cross/wizard/Farrowdale.exe")" "$(winpath "$e2e/work")" "$(winpath "$e2e/shots")" |
  tr -d '\r' | tee "$e2e/driver.log"; then
  status=1
fi
echo "wizard: the driver took $(( $(date +%s) - started )) s"

# The three steps again at 120 and 144 DPI: the banner, the rule and the band
# follow the dialog's own metrics, so the same checks hold.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w
}
for dpi in 120 144; do
  set_dpi "$dpi"
  if ! nice -n 10 timeout 300 wine "$cross/wizard/wizard_driver.exe" \
    "$(winpath "$cross/wizard/Farrowdale.exe")" "$(winpath "$e2e/work")" "$(winpath "$e2e/shots")" --shots "${dpi}dpi" |
    tr -d '\r' | tee -a "$e2e/driver.log"; then
    status=1
  fi
done
set_dpi 96
rm -f "$e2e/work/out/dpi.js"

for pair in single-on.js:single-on.js single-off.js:single-off.js group/lib.js:lib.js \
  group/page.html:page.html; do
  out="$e2e/work/out/${pair%%:*}"
  expect="$e2e/expect/${pair##*:}"
  if [ -f "$out" ] && [ -s "$expect" ] && cmp -s "$out" "$expect"; then
    echo "ok: out/${pair%%:*} equals trimlet's"
  else
    echo "FAIL: out/${pair%%:*} differs from trimlet's (or is missing)"; status=1
  fi
done

# Nothing else was written: no temporary file, no output for the failed ones.
left="$(cd "$e2e/work/out" && find . -type f | sort | tr '\n' ' ')"
if [ "$left" = "./group/lib.js ./group/page.html ./single-off.js ./single-on.js " ]; then
  echo "ok: out/ holds the four outputs and nothing else"
else
  echo "FAIL: out/ holds: $left"; status=1
fi

for shot in "$e2e"/shots/*.bmp; do
  [ -f "$shot" ] && /usr/bin/convert "$shot" "${shot%.bmp}.png" 2>/dev/null && rm -f "$shot"
done
ls "$e2e/shots"
[ "$status" = 0 ] && echo "wizard: end-to-end test passed" || echo "wizard: end-to-end test FAILED"
exit "$status"
