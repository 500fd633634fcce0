# Installs the build tree BUILD into scratch folders under OUT, once per
# layout, and checks what lands there:
#   cmake -DBUILD=<build dir> -DOUT=<scratch dir> -P verifica_installazione.cmake
# The portable folder must hold the program, its files and a launcher that
# names them by full path; the system layout must put each file where the
# start-up code, the desktop and dpkg look for it, and neither layout may
# leak into the other.

cmake_minimum_required(VERSION 3.24)
foreach(v BUILD OUT)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "${v} not given")
  endif()
endforeach()
file(REMOVE_RECURSE "${OUT}")
set(errori 0)

function(errore testo)
  message(SEND_ERROR "${testo}")
endfunction()

function(installa)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE esito OUTPUT_VARIABLE uscita ERROR_VARIABLE uscita)
  if(NOT esito EQUAL 0)
    message(FATAL_ERROR "install failed (${esito}): ${ARGN}\n${uscita}")
  endif()
endfunction()

function(presenti cartella)
  foreach(f IN LISTS ARGN)
    if(NOT EXISTS "${cartella}/${f}")
      errore("missing: ${cartella}/${f}")
    endif()
  endforeach()
endfunction()

function(assenti cartella)
  foreach(f IN LISTS ARGN)
    if(EXISTS "${cartella}/${f}")
      errore("should not be installed: ${cartella}/${f}")
    endif()
  endforeach()
endfunction()

function(eseguibili cartella)
  foreach(f IN LISTS ARGN)
    execute_process(COMMAND test -x "${cartella}/${f}" RESULT_VARIABLE esito)
    if(NOT esito EQUAL 0)
      errore("not executable: ${cartella}/${f}")
    endif()
  endforeach()
endfunction()

# The lines of a desktop entry that start with KEY=, as a list.
function(righe file chiave variabile)
  file(STRINGS "${file}" trovate REGEX "^${chiave}=")
  set(${variabile} "${trovate}" PARENT_SCOPE)
endfunction()

function(riga_uguale file attesa)
  string(REGEX MATCH "^[^=]+" chiave "${attesa}")
  righe("${file}" "${chiave}" trovate)
  if(NOT trovate STREQUAL attesa)
    errore("${file}: expected '${attesa}', found '${trovate}'")
  endif()
endfunction()

function(valida file)
  find_program(VALIDATORE desktop-file-validate)
  if(VALIDATORE)
    execute_process(COMMAND ${VALIDATORE} "${file}" RESULT_VARIABLE esito
                    OUTPUT_VARIABLE uscita ERROR_VARIABLE uscita)
    if(NOT esito EQUAL 0 OR uscita MATCHES "error")
      errore("desktop-file-validate ${file}:\n${uscita}")
    endif()
  endif()
endfunction()

# Width and height of a PNG from its IHDR chunk.
function(misura_png file variabile)
  file(READ "${file}" testa OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING "${testa}" 0 8 l)
  string(SUBSTRING "${testa}" 8 8 a)
  math(EXPR l "0x${l}")
  math(EXPR a "0x${a}")
  set(${variabile} "${l}x${a}" PARENT_SCOPE)
endfunction()

set(file_portatili arvo Manual/manual.html Manual/img/principale.png back.jpg arvo.png
    arvo.desktop LICENSE CREDITS.md README.txt aggiungi-al-menu.sh)

# --- The portable folder, as tools/run.sh installs it (a space in the path) --
set(p "${OUT}/cartella Arvo")
installa(${CMAKE_COMMAND} --install "${BUILD}" --prefix "${p}")
presenti("${p}" ${file_portatili})
assenti("${p}" bin share Info.ini)
eseguibili("${p}" arvo arvo.desktop aggiungi-al-menu.sh)
riga_uguale("${p}/arvo.desktop" "Exec=\"${p}/arvo\"")
riga_uguale("${p}/arvo.desktop" "Icon=${p}/arvo.png")
riga_uguale("${p}/arvo.desktop" "Path=${p}")
valida("${p}/arvo.desktop")

# The menu entry the user adds from the folder.
set(xdg "${OUT}/xdg")
installa(${CMAKE_COMMAND} -E env "XDG_DATA_HOME=${xdg}" sh "${p}/aggiungi-al-menu.sh")
presenti("${xdg}" applications/arvo.desktop)
eseguibili("${xdg}" applications/arvo.desktop)
riga_uguale("${xdg}/applications/arvo.desktop" "Exec=\"${p}/arvo\"")
riga_uguale("${xdg}/applications/arvo.desktop" "Icon=${p}/arvo.png")
# The script ran over a launcher the install had already rewritten: each
# line is replaced, none doubled.
riga_uguale("${xdg}/applications/arvo.desktop" "Path=${p}")
riga_uguale("${p}/arvo.desktop" "Path=${p}")

# Staged with DESTDIR, the launcher names the final folder, not the stage.
set(stadio "${OUT}/stadio")
installa(${CMAKE_COMMAND} -E env "DESTDIR=${stadio}" ${CMAKE_COMMAND} --install "${BUILD}" --prefix /opt/arvo)
riga_uguale("${stadio}/opt/arvo/arvo.desktop" "Exec=\"/opt/arvo/arvo\"")
riga_uguale("${stadio}/opt/arvo/arvo.desktop" "Icon=/opt/arvo/arvo.png")

# --- The system layout, as the .deb carries it ------------------------------
set(s "${OUT}/usr")
installa(${CMAKE_COMMAND} --install "${BUILD}" --prefix "${s}" --component sistema)
set(taglie 16 32 48 64 128 256)
set(icone_png)
foreach(n IN LISTS taglie)
  list(APPEND icone_png share/icons/hicolor/${n}x${n}/apps/arvo.png)
endforeach()
presenti("${s}" bin/arvo share/arvo/Manual/manual.html share/arvo/Manual/img/principale.png
         share/arvo/back.jpg share/applications/arvo.desktop
         share/icons/hicolor/scalable/apps/arvo.svg ${icone_png} share/doc/arvo/copyright
         share/doc/arvo/CREDITS.md)
assenti("${s}" arvo arvo.desktop README.txt aggiungi-al-menu.sh LICENSE Manual back.jpg)
eseguibili("${s}" bin/arvo)
riga_uguale("${s}/share/applications/arvo.desktop" "Exec=arvo")
riga_uguale("${s}/share/applications/arvo.desktop" "Icon=arvo")
valida("${s}/share/applications/arvo.desktop")
foreach(n IN LISTS taglie)
  misura_png("${s}/share/icons/hicolor/${n}x${n}/apps/arvo.png" misura)
  if(NOT misura STREQUAL "${n}x${n}")
    errore("hicolor/${n}x${n}/apps/arvo.png is ${misura}")
  endif()
endforeach()
