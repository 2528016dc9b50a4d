#include "SingleInstance.h"

#include "ProgramState.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <unistd.h>

namespace {
constexpr int kTimeoutMs = 3000;
constexpr qint64 kMaxMessage = 64 * 1024;
} // namespace

CSingleInstance::CSingleInstance(QString strName, QObject* pParent)
    : QObject(pParent), m_strName(std::move(strName)) {}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::DefaultName() {
    return QStringLiteral("SelvikVonn-%1").arg(::getuid());
}

bool CSingleInstance::IsListening() const {
    return m_pServer && m_pServer->isListening();
}

bool CSingleInstance::Claim(const QString& strMessage) {
    QString strLockFolder = ProgramState().RunFolder();
    if (strLockFolder.isEmpty())
        strLockFolder = QDir::tempPath();
    QLockFile lock(strLockFolder + QLatin1Char('/') + m_strName + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(kTimeoutMs)) {
        // Another start has held the lock for seconds: it is (becoming) the first.
        SendToRunning(strMessage);
        return false;
    }
    if (SendToRunning(strMessage))
        return false;
    m_pServer = new QLocalServer(this);
    // The abstract namespace leaves nothing behind when a first instance crashes.
    m_pServer->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!m_pServer->listen(m_strName)) {
        delete m_pServer;
        m_pServer = nullptr;
        // Without the socket the program still works; it only cannot be found by later starts.
        return true;
    }
    connect(m_pServer, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    return true;
}

bool CSingleInstance::SendToRunning(const QString& strMessage) {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(m_strName);
    if (!socket.waitForConnected(kTimeoutMs))
        return false;
    socket.write(strMessage.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kTimeoutMs))
        return false;
    // Wait for the first instance's acknowledgement so that the message is not lost when
    // this process ends at once.
    socket.waitForReadyRead(kTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] {
            if (pSocket->bytesAvailable() > kMaxMessage) {
                pSocket->abort();
                return;
            }
            if (!pSocket->canReadLine())
                return;
            const QString strMessage = QString::fromUtf8(pSocket->readLine()).trimmed();
            pSocket->write("1");
            pSocket->flush();
            emit MessageReceived(strMessage);
        });
    }
}
