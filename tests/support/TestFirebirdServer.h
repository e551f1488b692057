#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A Firebird server of one test's own on 127.0.0.1, run by scripts/firebird-server in a
// temporary folder on a free port: stopped, killed and started again on the same port, as
// a server is restarted at night or after a crash. Its users are those of the script.
class TestFirebirdServer {
public:
    TestFirebirdServer();
    ~TestFirebirdServer();

    TestFirebirdServer(const TestFirebirdServer&) = delete;
    TestFirebirdServer& operator=(const TestFirebirdServer&) = delete;

    // "127.0.0.1/PORT:path": the database file at the path, through this server.
    QString location(const QString& path) const;

    // Again, on the same port.
    void start();
    void stop();
    // Without warning, as a crash: the server cannot tell its clients anything.
    void kill();

private:
    void runScript(const QStringList& arguments) const;

    QTemporaryDir folder_;
    QString port_;
};
