#!/usr/bin/env bash
# Opens the real program, as a user would see it, under a real window manager
# (openbox) on virtual X screens (Xvfb) of 1366x768 and 1920x1080, over a
# sample stock of 300 components, and for each screen:
#   - photographs the whole screen with the first window as it opens, then
#     with the window maximised (double click on its title bar);
#   - reads the window's place, the frame the window manager drew around it
#     and the work area of the screen, and checks that the whole window,
#     frame included, lies inside the work area.
# The pictures go into the output folder (build/finestre-reali unless
# given). With --manuale the pictures of the manual that show the real
# screens are renewed from them (assets/Manual/img/schermo-*.png). The exit
# status is 1 when a window crossed the edge of its screen.
#
#   tools/finestre-reali.sh [--manuale] [output folder]
#
# Needs Xvfb, openbox, xdotool, xwininfo/xprop and ImageMagick; those that
# are missing are installed on Debian (as root). ARVO_PRESET chooses the
# CMake preset to build (release unless set).
set -euo pipefail
cd "$(dirname "$0")/.."
radice=$PWD

manuale=0
if [ "${1:-}" = "--manuale" ]; then
  manuale=1
  shift
fi
uscita=$(realpath -m "${1:-build/finestre-reali}")
preset=${ARVO_PRESET:-release}

# The display tools, only when one is missing.
declare -A comandi=([Xvfb]=xvfb [openbox]=openbox [xdotool]=xdotool [xwininfo]=x11-utils
                    [xprop]=x11-utils [import]=imagemagick [convert]=imagemagick)
mancanti=()
for c in "${!comandi[@]}"; do
  command -v "$c" >/dev/null || mancanti+=("${comandi[$c]}")
done
if [ ${#mancanti[@]} -gt 0 ]; then
  mapfile -t mancanti < <(printf '%s\n' "${mancanti[@]}" | sort -u)
  echo "Installo: ${mancanti[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${mancanti[@]}"
fi

bash tools/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target arvo arvo_genera
build="build/$preset"

mkdir -p "$uscita"
lavoro=$(mktemp -d)
pids=()
# shellcheck disable=SC2317 # run by the trap
fine() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$lavoro"
}
trap fine EXIT

# A display number nobody uses.
display_libero() {
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      echo "$n"
      return
    fi
  done
  echo "nessun display libero" >&2
  exit 2
}

# The numbers of an X property, e.g. "1, 1, 20, 5" -> "1 1 20 5".
numeri() { sed -n 's/^[^=]*= *//p' | tr -d ',' | head -1; }

fuori=0
for schermo in 1366x768 1920x1080; do

  # The sample stock, in the light theme, with the program beside it (the
  # program folder is the database); a picture drawn for every one named.
  cartella="$lavoro/$schermo/Arvo"
  mkdir -p "$(dirname "$cartella")"
  "$build/bench/arvo_genera" "$cartella" 300 >/dev/null
  cp -r "$build/Arvo/." "$cartella/"
  sed -i 's/^Tema Chiaro=False/Tema Chiaro=True/' "$cartella/Info.ini"
  carattere=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
  grep -aoE '"[A-Z0-9][A-Z0-9._-]*\.jpg"' "$cartella/Componenti.dat" | tr -d '"' | sort -u | while read -r nome; do
    convert -size 640x480 gradient:'#eceef0-#c4c8ce' -fill '#202226' -draw 'roundrectangle 130,150 510,330 14,14' \
      -fill '#ebebeb' -font "$carattere" -pointsize 34 -gravity center -annotate +0+0 "${nome%.jpg}" \
      "$cartella/Pics/$nome"
  done

  n=$(display_libero)
  export DISPLAY=":$n"
  Xvfb "$DISPLAY" -screen 0 "${schermo}x24" -nolisten tcp >"$lavoro/xvfb-$schermo.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.2; done
  XDG_CONFIG_HOME="$lavoro/config" openbox --sm-disable >"$lavoro/openbox-$schermo.log" 2>&1 &
  pids+=($!)
  sleep 1
  "$cartella/arvo" >"$lavoro/arvo-$schermo.log" 2>&1 &
  programma=$!
  pids+=("$programma")
  if ! finestra=$(timeout 60 xdotool search --sync --onlyvisible --name '^Arvo - Gestione Componenti' | head -1); then
    echo "schermo $schermo: la finestra del programma non si è aperta" >&2
    cat "$lavoro/arvo-$schermo.log" >&2
    exit 1
  fi
  sleep 2

  # The client area, the frame around it and the work area.
  info=$(xwininfo -id "$finestra")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/^ *Width: *//p' <<<"$info")
  h=$(sed -n 's/^ *Height: *//p' <<<"$info")
  read -r sx dx su gi < <(xprop -id "$finestra" _NET_FRAME_EXTENTS | numeri)
  read -r ax ay aw ah _ < <(xprop -root _NET_WORKAREA | numeri)
  fx=$((x - sx)); fy=$((y - su)); fw=$((w + sx + dx)); fh=$((h + su + gi))
  if [ "$fx" -ge "$ax" ] && [ "$fy" -ge "$ay" ] && [ $((fx + fw)) -le $((ax + aw)) ] && [ $((fy + fh)) -le $((ay + ah)) ]; then
    esito="dentro l'area di lavoro"
  else
    esito="FUORI dall'area di lavoro"
    fuori=1
  fi
  echo "schermo $schermo: finestra ${w}x${h} in $x,$y; cornice (sinistra $sx, destra $dx, sopra $su, sotto $gi)" \
       "${fw}x${fh} in $fx,$fy; area di lavoro ${aw}x${ah} in $ax,$ay: $esito"

  # A component shown in the panel: a click on a row in the middle of the list.
  xdotool mousemove $((x + 60)) $((y + h / 2)) click 1
  sleep 1
  import -window root "$uscita/schermo-$schermo.png"

  # Maximised by a double click on the title bar, as a user does.
  xdotool mousemove $((fx + fw / 2)) $((fy + su / 2)) click --repeat 2 --delay 100 1
  sleep 2
  if xprop -id "$finestra" _NET_WM_STATE | grep -q MAXIMIZED_HORZ; then
    info=$(xwininfo -id "$finestra")
    echo "schermo $schermo: finestra ingrandita $(sed -n 's/^ *Width: *//p' <<<"$info")x$(sed -n 's/^ *Height: *//p' <<<"$info")"
  else
    echo "schermo $schermo: la finestra non si è ingrandita"
    fuori=1
  fi
  import -window root "$uscita/schermo-$schermo-ingrandita.png"

  kill "$programma" 2>/dev/null || true
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  pids=()
done
ls -1 "$uscita"/schermo-*.png

if [ "$manuale" = 1 ]; then
  # The manual shows the first window on a laptop screen and the window
  # maximised on a large one, 800 pixels wide like its other pictures.
  convert "$uscita/schermo-1366x768.png" -resize 800x -strip "$radice/assets/Manual/img/schermo-1366x768.png"
  convert "$uscita/schermo-1920x1080-ingrandita.png" -resize 800x -strip \
    "$radice/assets/Manual/img/schermo-1920x1080-ingrandita.png"
  echo "aggiornate le immagini del manuale assets/Manual/img/schermo-*.png"
fi
exit "$fuori"
