#include "ricevi/tastiere.h"

#include <QHash>

namespace {

// The keys of the main block in order: the number row, the three letter rows,
// first without Shift and then with it. The key left of Backspace's row end
// ("\" on a US keyboard) is the one beside Enter on the others.
const QString TastiUs = QStringLiteral("`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./"
                                       "~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>?");

QList<Tastiera> Costruisci()
{
    // The same keys on each layout; a key that types nothing with Shift is
    // left out of both strings.
    QString usSenzaTilde = TastiUs;
    usSenzaTilde.remove(u'~');
    return {
        {QStringLiteral("tedesca"), TastiUs,
         QStringLiteral("^1234567890\u00df\u00b4qwertzuiop\u00fc+#asdfghjkl\u00f6\u00e4yxcvbnm,.-"
                        "\u00b0!\"\u00a7$%&/()=?`QWERTZUIOP\u00dc*'ASDFGHJKL\u00d6\u00c4YXCVBNM;:_")},
        {QStringLiteral("italiana"), TastiUs,
         QStringLiteral("\\1234567890'\u00ecqwertyuiop\u00e8+\u00f9asdfghjkl\u00f2\u00e0zxcvbnm,.-"
                        "|!\"\u00a3$%&/()=?^QWERTYUIOP\u00e9*\u00a7ASDFGHJKL\u00e7\u00b0ZXCVBNM;:_")},
        {QStringLiteral("francese"), usSenzaTilde,
         QStringLiteral("\u00b2&\u00e9\"'(-\u00e8_\u00e7\u00e0)=azertyuiop^$*qsdfghjklm\u00f9wxcvbn,;:!"
                        "1234567890\u00b0+AZERTYUIOP\u00a8\u00a3\u00b5QSDFGHJKLM%WXCVBN?./\u00a7")},
    };
}

} // namespace

const QList<Tastiera> &TastiereConosciute()
{
    static const QList<Tastiera> tastiere = Costruisci();
    return tastiere;
}

QString DisfaTastiera(QStringView testo, const Tastiera &tastiera)
{
    QString out;
    out.reserve(testo.size());
    for (const QChar c : testo) {
        const qsizetype i = tastiera.locale.indexOf(c);
        out += i >= 0 ? tastiera.us[i] : c;
    }
    return out;
}
