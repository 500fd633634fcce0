#pragma once

#include <QString>

struct Componente;

// A stored component on one line, as the user tells it from others of the
// same code: "CODICE - PRODUTTORE - TIPO - 12 pz" (empty names left out).
// In full, also the date it was added and the start of its description.
QString DescriviComponente(const Componente &c, bool completo = false);
