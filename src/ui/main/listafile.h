#pragma once

#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTimer>

class QFileSystemWatcher;

// A list of the regular files of one folder that match a pattern such as
// "*.jpg;*.jpeg;*.bmp" (case-insensitive), sorted by name; links are listed
// only when they lead to such a file inside the folder. The list is read
// when the folder is set and again on ricarica(); with seguiCartella() it
// also follows the folder by itself, a file added, removed or renamed by
// anyone showing in the list within a fraction of a second.
class ListaFile : public QListWidget {
    Q_OBJECT
public:
    explicit ListaFile(const QString &schema, QWidget *parent = nullptr);
    ListaFile(const QStringList &schemi, QWidget *parent = nullptr);

    void impostaCartella(const QString &cartella);
    QString cartella() const { return m_cartella; }
    // Reads the folder again. The selected entry stays selected while its
    // file is there, and the list is left alone when nothing changed.
    void ricarica();
    // Watches the folder from now on.
    void seguiCartella();
    // The name of the selected entry, empty when none.
    QString nomeSelezionato() const;

    // How long a change of the folder waits before the list is read again,
    // so that a burst of changes (a hundred files copied in) reads it once;
    // up to four times as long for a folder that takes long to read.
    static constexpr int AttesaMs = 250;

signals:
    // A mouse button was pressed on the list (before the selection moves).
    void pressioneMouse(Qt::MouseButton pulsante);

protected:
    void mousePressEvent(QMouseEvent *evento) override;

private:
    void sorveglia();

    QString m_cartella;
    QStringList m_filtri;
    QStringList m_nomi; // what the list shows
    QFileSystemWatcher *m_sorvegliante = nullptr;
    QTimer m_attesa;
};
