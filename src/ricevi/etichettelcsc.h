#pragma once

#include "ricevi/scansione.h"

// The QR code of LCSC's bags:
//
//     {pbn:PICK2101290004,on:SO2101287934,pc:C24966,pm:TPS63000DRCR,qty:10,mc:,cc:1,pdi:39241148}
//
// key:value pairs split by commas between braces: pm the manufacturer part
// number (required), qty the quantity, pc LCSC's own part number, on the
// order; the others (pbn, the picking batch, mc, cc, pdi, hp, wc) are kept as
// they are. A comma not followed by a key belongs to the value; blanks
// around keys and values are dropped; the closing brace may be missing.
// Without braces the pairs are recognised when they name pm and at least one
// other of LCSC's keys.
class LettoreLcsc : public LettoreFormato {
public:
    bool leggiConIntestazione(QStringView testo, Scansione *esito) const override;
    bool leggiSenzaIntestazione(QStringView testo, Scansione *esito) const override;
};
