#pragma once

// A FIFO that tells whether anybody opened it for reading. Such an open
// blocks until a writer comes, which would freeze a test for good: a watcher
// thread keeps trying to open the writing end without waiting, which only
// succeeds while a reader is there. When it does, it notes it and closes at
// once, so the reader gets an empty read and goes on; the test then fails on
// aperta() instead of hanging.

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class FifoSorvegliata {
public:
    explicit FifoSorvegliata(const QString &percorso) : m_percorso(QFile::encodeName(percorso))
    {
        m_creata = ::mkfifo(m_percorso.constData(), 0600) == 0;
        if (m_creata)
            m_guardia = std::thread([this] { sorveglia(); });
    }
    ~FifoSorvegliata()
    {
        m_fine = true;
        if (m_guardia.joinable())
            m_guardia.join();
    }
    FifoSorvegliata(const FifoSorvegliata &) = delete;
    FifoSorvegliata &operator=(const FifoSorvegliata &) = delete;

    bool creata() const { return m_creata; }
    // Somebody opened the FIFO for reading.
    bool aperta() const { return m_aperta; }

private:
    void sorveglia()
    {
        while (!m_fine) {
            const int fd = ::open(m_percorso.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_aperta = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    QByteArray m_percorso;
    bool m_creata = false;
    std::atomic<bool> m_aperta{false};
    std::atomic<bool> m_fine{false};
    std::thread m_guardia;
};
