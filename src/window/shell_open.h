#pragma once
// Opening a file in the program that already runs: a second start with a file hands the
// path to the running one over a local socket in the user's runtime folder and ends. One
// socket per settings file, so windows on different settings stay apart.
#include <QLocalServer>
#include <QObject>
#include <QString>

namespace vk930 {

// The socket of the window that uses this settings file.
QString ShellOpenSocketPath(const QString& settingsPath);

// Hands `file` (an absolute path) to the window listening on `socketPath`; true when it
// took it, false when none listens.
bool HandToRunningWindow(const QString& socketPath, const QString& file);

class ShellOpenServer : public QObject {
    Q_OBJECT
  public:
    explicit ShellOpenServer(QObject* parent = nullptr);

    // Listens on the socket; a socket left behind by a program that has ended is replaced.
    // False when another window listens on it.
    bool Listen(const QString& socketPath);

  signals:
    void openRequested(const QString& path);

  private:
    void OnNewConnection();

    QLocalServer server_;
};

}  // namespace vk930
