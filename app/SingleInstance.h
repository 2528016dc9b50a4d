#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

// One workbench per user: the first start listens on a local socket, a later start hands its
// command line to it and ends. The connect-or-listen step runs under a lock file, so two
// starts at the same moment cannot both become the first.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(QString strName = DefaultName(), QObject* pParent = nullptr);
    ~CSingleInstance() override;

    static QString DefaultName(); // "SelvikVonn-<user>"

    // True when this process is the first and now listens; false after the message was
    // handed to a running first instance (or when neither was possible).
    bool Claim(const QString& strMessage);
    bool IsListening() const;

signals:
    // The first instance received a later start's command line (a file path, or empty).
    void MessageReceived(const QString& strMessage);

private:
    bool SendToRunning(const QString& strMessage);
    void OnNewConnection();

    QString m_strName;
    QLocalServer* m_pServer = nullptr;
};
