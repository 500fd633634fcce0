#!/bin/sh
# Mette Arvo nel menu delle applicazioni dell'utente.
#
# Riscrive arvo.desktop, in questa cartella, con il percorso completo del
# programma e della sua icona (un lanciatore non trova un'icona indicata con
# un percorso relativo), poi ne mette una copia in
# ${XDG_DATA_HOME:-~/.local/share}/applications. Va eseguito di nuovo se la
# cartella viene spostata.
#
#   sh aggiungi-al-menu.sh
#
# Con --solo-cartella [CARTELLA] riscrive soltanto il lanciatore di questa
# cartella, scrivendovi CARTELLA (se data) come cartella del programma: lo usa
# l'installazione, che conosce la cartella finale.
set -eu

qui=$(cd "$(dirname "$0")" && pwd -P)
solo_cartella=no
cartella=$qui
if [ "${1:-}" = "--solo-cartella" ]; then
  solo_cartella=si
  cartella=${2:-$qui}
fi
lanciatore=$qui/arvo.desktop
if [ ! -f "$lanciatore" ] || [ ! -x "$qui/arvo" ]; then
  echo "aggiungi-al-menu.sh: arvo o arvo.desktop mancano in $qui" >&2
  exit 1
fi

# Values of a desktop entry escape the backslash; inside the quoted Exec
# argument the characters " ` $ \ are escaped too, and % is doubled.
valore() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
argomento() { printf '%s' "$1" | sed -e 's/[\\"`$]/\\&/g' -e 's/%/%%/g' -e 's/\\/\\\\/g'; }

exec_=$(argomento "$cartella/arvo")
icona=$(valore "$cartella/arvo.png")
percorso=$(valore "$cartella")
# sed's replacement text reads & and \ specially, and | ends the command.
sostituzione() { printf '%s' "$1" | sed -e 's/[\\&|]/\\&/g'; }

nuovo=$lanciatore.nuovo
sed -e "s|^Exec=.*|Exec=\"$(sostituzione "$exec_")\"|" \
    -e "s|^Icon=.*|Icon=$(sostituzione "$icona")|" \
    -e '/^Path=/d' \
    -e "/^Terminal=/i\\
Path=$(sostituzione "$percorso")" \
    "$lanciatore" > "$nuovo"
chmod 755 "$nuovo"
mv -f "$nuovo" "$lanciatore"

if [ "$solo_cartella" = si ]; then
  exit 0
fi
menu=${XDG_DATA_HOME:-$HOME/.local/share}/applications
case $menu in /*) ;; *) menu=$HOME/.local/share/applications ;; esac
mkdir -p "$menu"
cp -f "$lanciatore" "$menu/arvo.desktop"
chmod 755 "$menu/arvo.desktop"
if command -v update-desktop-database >/dev/null 2>&1; then
  update-desktop-database "$menu" >/dev/null 2>&1 || true
fi
echo "Arvo è nel menu delle applicazioni: $menu/arvo.desktop"
