#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One running program per program folder. The lock is the file "Arvo.lock"
// in the folder, holding the owner's process ID and computer name; it is
// created before start-up writes anything and removed when the program
// ends. A lock whose owner is gone (a crash, a kill, a restart of the
// computer) is taken over, whichever user it belongs to, where the folder
// lets this user remove it; so is a lock file left empty or damaged, once no
// process holds it open. A lock of another computer is never taken over: its
// owner cannot be checked from here.
class BloccoCartella {
public:
    BloccoCartella();
    ~BloccoCartella(); // releases the lock
    BloccoCartella(const BloccoCartella &) = delete;
    BloccoCartella &operator=(const BloccoCartella &) = delete;

    enum class Esito {
        Preso,         // the lock is ours
        Occupato,      // a running copy holds it, on this computer or another: the message names the folder
        DaRimuovere,   // the lock file cannot be taken over: the message names it and says when it may go
        NonCreabile,   // the folder does not let the lock file be created (read-only, missing)
    };

    // Takes the lock of the folder. Unless the lock was taken, *messaggio
    // receives the Italian text for the user (for NonCreabile, a short
    // description in the form of the other start-up errors).
    Esito prendi(const QString &cartella, QString *messaggio);

    // Gives the lock back (the lock file is removed); nothing when not held.
    void rilascia();

    bool preso() const;

private:
    std::unique_ptr<QLockFile> m_blocco;
};

inline const QString NomeFileBlocco = QStringLiteral("Arvo.lock");

// Seconds a lock file that cannot be read must be old before it counts as
// left behind: a younger one may be in the middle of being written by a
// program that is starting at this very moment.
inline constexpr int EtaMinimaBloccoIlleggibile = 5;
