#pragma once

#include <QString>

// Pattern matching with "*" (any run), "?" (one character), "#" (one digit),
// "[A-C]" / "[!A-C]" (one character in / not in the list); characters are
// compared exactly. Runs in time polynomial in the pattern and the text.
bool Like(const QString &testo, const QString &schema);
