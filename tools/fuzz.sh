#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, address and undefined-behaviour
# sanitizers) and runs each of them for the given number of seconds.
#
#   tools/fuzz.sh SECONDS [target...]     targets: tabelle ini regole like chiavi
#                                         (default: every tests/fuzz/fuzz_*.cpp)
# Environment:
#   FUZZ_PARALLELO=N   run up to N targets at the same time (default 1)
#   FUZZ_UNISCI=1      afterwards add the inputs that reached new code to the
#                      stored corpus tests/fuzz/corpus/<target>/ (-merge=1)
#
# Each target starts from its stored corpus and keeps what it finds in
# build/fuzz/lavoro/<target>/. Inputs that crash, leak, time out (10 s) or
# exceed 2 GB go to build/fuzz/guasti/<target>/; the log of each run is
# build/fuzz/log/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "uso: $0 SECONDI [target...]" >&2
  exit 2
fi
secondi=$1
shift
if [ $# -gt 0 ]; then
  target=("$@")
else
  target=()
  for f in tests/fuzz/fuzz_*.cpp; do
    n=$(basename "$f" .cpp)
    target+=("${n#fuzz_}")
  done
fi
parallelo=${FUZZ_PARALLELO:-1}

# Longest input per target: a few table records, a settings file, a code and
# a pattern, two cell texts.
lunghezza() {
  case $1 in
    tabelle) echo 16384 ;;
    ini) echo 8192 ;;
    like) echo 2048 ;;
    chiavi) echo 512 ;;
    *) echo 4096 ;;
  esac
}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${target[@]/#/fuzz_}"

radice=build/fuzz
mkdir -p "$radice/log"

# Adds to the stored corpus the fewest inputs that reach the edges its
# named inputs (seeds and regressions, which always stay) do not: the
# generated ones (named by their SHA-1, as libFuzzer names them) are chosen
# afresh from the old generated ones and the new finds.
unisci() {
  local t=$1 corpus=$2 lavoro=$3
  local nuovo vecchi f
  nuovo=$(mktemp -d)
  vecchi=$(mktemp -d)
  for f in "$corpus"/*; do
    [ -f "$f" ] || continue
    if [[ $(basename "$f") =~ ^[0-9a-f]{40}$ ]]; then
      mv "$f" "$vecchi/"
    else
      cp "$f" "$nuovo/"
    fi
  done
  "$radice/tests/fuzz/fuzz_$t" -merge=1 -use_counters=0 -max_len="$(lunghezza "$t")" \
    "$nuovo" "$vecchi" "$lavoro" >>"$radice/log/$t.log" 2>&1 || cp "$vecchi"/* "$corpus/"
  for f in "$nuovo"/*; do
    [ -e "$corpus/$(basename "$f")" ] || cp "$f" "$corpus/"
  done
  rm -rf "$nuovo" "$vecchi"
}

esegui() {
  local t=$1
  local corpus=tests/fuzz/corpus/$t
  local lavoro=$radice/lavoro/$t
  local guasti=$radice/guasti/$t
  mkdir -p "$lavoro" "$guasti" "$corpus"
  local esito=0
  "$radice/tests/fuzz/fuzz_$t" "$lavoro" "$corpus" \
    -max_total_time="$secondi" -max_len="$(lunghezza "$t")" -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$guasti/" -print_final_stats=1 \
    >"$radice/log/$t.log" 2>&1 || esito=$?
  if [ "${FUZZ_UNISCI:-0}" = 1 ]; then
    unisci "$t" "$corpus" "$lavoro"
  fi
  local eseguiti corpo
  eseguiti=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$radice/log/$t.log" | grep -o '[0-9]*$' | tail -1)
  corpo=$(grep -oE 'corp: [0-9]+/[0-9]+[a-zA-Z]*' "$radice/log/$t.log" | tail -1)
  printf '%-8s %ss  esecuzioni %s  corpus %s (file in %s: %s)  guasti: %s  esito %s\n' \
    "$t" "$secondi" "${eseguiti:-?}" "${corpo#corp: }" "$corpus" \
    "$(find "$corpus" -type f | wc -l)" "$(find "$guasti" -type f | wc -l)" "$esito"
  return "$esito"
}

fallito=0
attivi=0
for t in "${target[@]}"; do
  if [ ! -f "tests/fuzz/fuzz_$t.cpp" ]; then
    echo "target sconosciuto: $t" >&2
    exit 2
  fi
  esegui "$t" &
  attivi=$((attivi + 1))
  if [ "$attivi" -ge "$parallelo" ]; then
    wait -n || fallito=1
    attivi=$((attivi - 1))
  fi
done
while [ "$attivi" -gt 0 ]; do
  wait -n || fallito=1
  attivi=$((attivi - 1))
done
echo "Guasti (se ce ne sono): $radice/guasti/<target>/"
exit "$fallito"
