#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

// A temporary program folder for one test, with byte-level file helpers.
class CartellaTest {
public:
    CartellaTest();
    bool valida() const { return m_dir.isValid(); }
    QString percorso() const { return m_dir.path(); }
    QString file(const QString &nome) const { return m_dir.filePath(nome); }

    // Writes the bytes to the file (relative name), creating folders.
    void scrivi(const QString &nome, const QByteArray &byte) const;
    // The bytes of the file, or an empty array when it cannot be read.
    QByteArray leggi(const QString &nome) const;
    bool esiste(const QString &nome) const;
    // The five data files (the four tables and Info.ini) by name, from the
    // folder itself or from a sub-folder holding a copy of them.
    QMap<QString, QByteArray> dati(const QString &sotto = QString()) const;

private:
    QTemporaryDir m_dir;
};

// Joins lines with CR LF after each one, the line end of every program file.
QByteArray RigheCrLf(std::initializer_list<const char *> righe);
