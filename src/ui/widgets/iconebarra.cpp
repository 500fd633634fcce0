#include "ui/widgets/iconebarra.h"

#include <QFile>
#include <QHash>

QString NomeIconaBarra(const QString &chiave)
{
    // The same key means the same action in the main window and in the
    // tables window ("quit" is the tables window's way out).
    static const QHash<QString, QString> nomi = {
        {QStringLiteral("new"), QStringLiteral("document-new")},
        {QStringLiteral("edit"), QStringLiteral("accessories-text-editor")},
        {QStringLiteral("undo"), QStringLiteral("edit-undo")},
        {QStringLiteral("save"), QStringLiteral("document-save")},
        {QStringLiteral("del"), QStringLiteral("edit-delete")},
        {QStringLiteral("pdf"), QStringLiteral("application-pdf")},
        {QStringLiteral("imgstd"), QStringLiteral("zoom-original")},
        {QStringLiteral("imgrid"), QStringLiteral("zoom-fit-best")},
        {QStringLiteral("list"), QStringLiteral("x-office-spreadsheet")},
        {QStringLiteral("custom"), QStringLiteral("document-properties")},
        {QStringLiteral("print"), QStringLiteral("document-print")},
        {QStringLiteral("search"), QStringLiteral("edit-find")},
        {QStringLiteral("reselect"), QStringLiteral("view-refresh")},
        {QStringLiteral("exit"), QStringLiteral("application-exit")},
        {QStringLiteral("quit"), QStringLiteral("application-exit")},
    };
    return nomi.value(chiave);
}

QIcon IconaIncorporata(const QString &nome)
{
    QIcon icona;
    for (int lato : {24, 48}) {
        const QString file = QStringLiteral(":/icone/%1-%2.png").arg(nome).arg(lato);
        if (QFile::exists(file))
            icona.addFile(file, QSize(lato, lato));
    }
    return icona;
}

QIcon IconaBarra(const QString &chiave)
{
    const QString nome = NomeIconaBarra(chiave);
    if (nome.isEmpty())
        return {};
    return QIcon::fromTheme(nome, IconaIncorporata(nome));
}

QIcon IconaProgramma()
{
    return QIcon(QStringLiteral(":/icone/arvo.png"));
}
