#include "ui/tables/apritabelle.h"

// Placeholder body: the tables window replaces it.
void ApriFinestraTabelle(Stato &, Dialoghi &, const AccessoPrincipale &) {}
