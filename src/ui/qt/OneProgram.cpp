#include "ui/qt/OneProgram.h"

#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <utility>

namespace scenewright::qt {

namespace {

// $XDG_RUNTIME_DIR, else a private folder Qt makes: this user's, whatever the session.
QString Place(const char* suffix) {
  return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/scenewright." + suffix;
}

}  // namespace

OneProgram::OneProgram() : lock_(Place("lock")) {
  // Stale only when its program is gone (killed, say); never because it is old.
  lock_.setStaleLockTime(0);
  held_ = lock_.tryLock(0);
}

bool OneProgram::First() {
  QLocalSocket socket;
  // The first program may be starting its server or ending: for some seconds.
  for (int attempt = 0; !held_; ++attempt) {
    // A lock that cannot be made at all is no reason not to start.
    if (lock_.error() != QLockFile::LockFailedError) return true;
    socket.connectToServer(Place("socket"));
    if (socket.waitForConnected(100) || attempt == 99) {
      socket.disconnectFromServer();
      return false;
    }
    QThread::msleep(50);
    held_ = lock_.tryLock(0);
  }
  // The lock makes this the only program that may replace a killed program's socket.
  QLocalServer::removeServer(Place("socket"));
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  server_.listen(Place("socket"));
  return true;
}

void OneProgram::OnSecondStart(std::function<void()> show) {
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this, show = std::move(show)] {
    while (QLocalSocket* connection = server_.nextPendingConnection()) {
      connection->disconnectFromServer();
      connection->deleteLater();
    }
    show();
  });
}

}  // namespace scenewright::qt
