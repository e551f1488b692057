#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The real program copied into a folder of its own, with a settings file and a
// received order document beside it, started as a scheduler starts it: "/executa",
// Brazilian regional settings, no display, no runtime directory, and no network (a
// namespace with only an unconfigured loopback), so the download fails at once and
// the run reads the received document; or, told to, with its order service at a
// loopback address.
class InstalledProgram {
public:
    InstalledProgram(const QString& backOfficeLocation, const QString& ordersLocation);

    QString folder() const { return folder_.path(); }
    void setReceivedDocument(const QByteArray& document) const;
    // The order service at this loopback address (the settings file's ENDERECO); the
    // program then runs in the test's own network.
    void setServiceAddress(const QString& address);
    // The databases' account in the settings file (USUARIO and SENHA).
    void setDatabaseAccount(const QString& user, const QString& password) const;

    struct Outcome {
        int exitStatus = -1;
        QByteArray standardOutput;
        QByteArray standardError;
    };
    // Starts the program; the caller waits for it with finish().
    void start(QProcess& process, const QStringList& arguments = {QStringLiteral("/executa")}) const;
    static Outcome finish(QProcess& process);
    Outcome run(const QStringList& arguments = {QStringLiteral("/executa")}) const;
    // The same on a machine without the Firebird client library: the library's file is
    // hidden in a mount namespace of the program's own.
    Outcome runWithoutClientLibrary(const QStringList& arguments) const;

private:
    // Starts "unshare", with its own arguments, on the program with the program's arguments.
    void start(QProcess& process, const QStringList& isolation, const QStringList& arguments) const;

    QTemporaryDir folder_;
    bool isolated_ = true;
};
