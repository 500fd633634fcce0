#pragma once

#include "store/dialoghi.h"

class QWidget;

// Message boxes, file-open dialogs and outside programs through Qt.
class DialoghiQt : public Dialoghi {
public:
    explicit DialoghiQt(QWidget *genitore = nullptr) : m_genitore(genitore) {}
    void impostaGenitore(QWidget *genitore) { m_genitore = genitore; }

    Risposta messaggio(const QString &testo, Icona icona, Pulsanti pulsanti,
                       const QString &titolo = QString()) override;
    QString apriFile(const QString &titolo, const QString &cartella,
                     const QString &filtro) override;
    bool avviaProgramma(const QString &programma, const QStringList &argomenti) override;
    bool apriDocumento(const QString &percorso) override;

private:
    QWidget *m_genitore;
};
