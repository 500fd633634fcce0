#pragma once

#include "movimenti/rigamovimento.h"

#include <QList>
#include <QString>

#include <optional>

struct Stato;

// The lines each kind of operation writes, before SalvaOperazione
// (movimenti/registro.h) numbers and dates them. movimento is the text of
// the Movimento column (rigamovimento.h: TestoMovimento and the functions
// beside it); nota the user's note, empty when none.

// A component that came into being: Prima empty, Dopo its quantity.
RigaMovimento RigaCreazione(const Componente &c, const QString &movimento, const QString &nota = {});

// A component removed: Prima its quantity, Dopo empty, its whole record in
// Dettagli.
RigaMovimento RigaRimozione(const Componente &c, const QString &movimento, const QString &nota = {});

// A component changed from prima to dopo (the same ID): the quantities and
// the other fields that changed. Nothing when nothing changed.
std::optional<RigaMovimento> RigaCambio(const Componente &prima, const Componente &dopo,
                                        const QString &movimento, const QString &nota = {});

// The editor's save: "Nuovo" for a new component (prima null), "Modifica"
// for a stored one (no line when the save changed nothing).
QList<RigaMovimento> RigheSalvataggio(const Componente *prima, const Componente &dopo);

// The editor's deletion: "Eliminazione" with the whole record.
QList<RigaMovimento> RigheEliminazione(const Componente &c);

// Every difference between the components of two states (positions 1 to
// the count), matched by ID: a line for each component changed or created,
// in the order of dopo, then one for each removed, in the order of prima.
// For operations that change many components at once (an import, a BOM
// taking, a restore).
QList<RigaMovimento> RigheDaConfronto(const Stato &prima, const Stato &dopo, const QString &movimento,
                                      const QString &nota = {});
