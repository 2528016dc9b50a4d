#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <sys/types.h>

class QSocketNotifier;

// The one engine process of the program: started with only its end of a socket pair
// inherited, answered synchronously for every result step, killed and reaped on demand.
class CEngineRunner : public QObject {
    Q_OBJECT

public:
    // Answers one notification: 1 go on, 0 stop.
    using Handler = std::function<int(int nWParam, int nLParam)>;

    CEngineRunner();
    ~CEngineRunner() override;

    // Starts strProgram with "1 <fd> <run folder>" and the options; false when it could not
    // be started.
    bool Start(const QString& strProgram, const QString& strRunFolder, const QStringList& options,
               Handler handler);
    // Kills the engine (if any) and reaps it; closes both descriptors. Safe at any time.
    void Terminate();
    bool IsRunning() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }
    // Notifications answered since the last start.
    int StepsAnswered() const { return m_nSteps; }

signals:
    // The engine ended by itself (analysis over, refused netlist, crash); strStderr holds
    // what it wrote to its standard error.
    void EngineEnded(int nExitStatus, const QString& strStderr);

private:
    void OnSocketReadable();
    void OnStderrReadable();
    void CloseDescriptors();
    void Reap(bool bKill);

    pid_t m_pid = -1;
    int m_nSocket = -1;
    int m_nStderr = -1;
    QByteArray m_pending;
    QByteArray m_stderr;
    Handler m_handler;
    int m_nSteps = 0;
    // Counts starts, so an answer is never sent to an engine started inside the handler.
    quint64 m_nGeneration = 0;
    // Above 0 while a notifier's signal is being handled.
    int m_nDispatchDepth = 0;
    std::unique_ptr<QSocketNotifier> m_pSocketNotifier;
    std::unique_ptr<QSocketNotifier> m_pStderrNotifier;
};

// The program's engine runner.
CEngineRunner& EngineRunner();
