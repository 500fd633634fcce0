#pragma once

#include "store/dialoghi.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// A Dialoghi for tests: answers message boxes and file dialogs from queues
// filled beforehand and records everything that was asked. A box or dialog
// that comes with no queued answer is an error, and so is a queued answer
// that is never used: check both with VERIFICA_DIALOGHI at the end of a test.
class DialoghiFinti : public Dialoghi {
public:
    struct Box {
        QString testo;
        Icona icona;
        Pulsanti pulsanti;
        QString titolo; // as asked: empty means the default title
    };
    struct DialogoFile {
        QString titolo;
        QString cartella;
        QString filtro;
    };
    struct Avvio {
        QString programma;
        QStringList argomenti;
    };

    ~DialoghiFinti() override = default;

    // Queues the answer of the next message box.
    void setNextAnswer(Risposta risposta) { m_risposte.enqueue(risposta); }
    // Queues the file chosen in the next file dialog (empty: cancelled).
    void setNextFile(const QString &percorso) { m_file.enqueue(percorso); }
    // What avviaProgramma and apriDocumento report.
    void impostaEsitoAvvio(bool esito) { m_esitoAvvio = esito; }
    void impostaEsitoDocumento(bool esito) { m_esitoDocumento = esito; }

    const QList<Box> &boxes() const { return m_boxes; }
    const QList<DialogoFile> &dialoghiFile() const { return m_dialoghiFile; }
    const QList<Avvio> &programmiAvviati() const { return m_avvii; }
    const QStringList &documentiAperti() const { return m_documenti; }
    // The last box shown; fails the test through problemi() if there is none.
    Box ultimoBox() const { return m_boxes.isEmpty() ? Box{} : m_boxes.last(); }
    void dimentica();

    // Empty when every box was expected and every queued answer used.
    QString problemi() const;

    Risposta messaggio(const QString &testo, Icona icona, Pulsanti pulsanti,
                       const QString &titolo = QString()) override;
    QString apriFile(const QString &titolo, const QString &cartella,
                     const QString &filtro) override;
    bool avviaProgramma(const QString &programma, const QStringList &argomenti) override;
    bool apriDocumento(const QString &percorso) override;

private:
    QQueue<Risposta> m_risposte;
    QQueue<QString> m_file;
    QList<Box> m_boxes;
    QList<DialogoFile> m_dialoghiFile;
    QList<Avvio> m_avvii;
    QStringList m_documenti;
    QStringList m_inattesi;
    bool m_esitoAvvio = true;
    bool m_esitoDocumento = true;
};

#define VERIFICA_DIALOGHI(d) QVERIFY2((d).problemi().isEmpty(), qPrintable((d).problemi()))
