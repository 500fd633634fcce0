#pragma once

#include <QString>

#include <memory>

// Pattern matching as the classic Like operator does it, characters compared
// exactly (no case folding):
//   "*"      any run of characters, including none
//   "?"      any one character
//   "#"      any one digit 0-9
//   "[A-CX]" one character of the list (ranges written low-high)
//   "[!A-C]" one character not in the list
//   "[*]"    inside brackets every character stands for itself
// A "-" first or last in a list stands for itself; "[]" matches no character
// at all (it is an empty text) and "[!]" any one character. A descending
// range such as "[C-A]" contains nothing.
//
// Patterns the classic operator rejects never fail here: a "[" without its
// "]" stands for the character "[" itself, and the rest of the pattern keeps
// its usual meaning ("[AB*" matches texts starting with "[AB").
//
// The whole text must match the whole pattern. The time is at most the
// length of the pattern times the length of the text, however many "*" the
// pattern holds.
bool Like(const QString &testo, const QString &schema);

// A pattern read once and matched against many texts (a search over the
// whole table).
class SchemaLike {
public:
    explicit SchemaLike(const QString &schema);
    ~SchemaLike();
    SchemaLike(const SchemaLike &) = delete;
    SchemaLike &operator=(const SchemaLike &) = delete;

    bool corrisponde(const QString &testo) const;

private:
    struct Elementi;
    std::unique_ptr<const Elementi> m_elementi;
};
