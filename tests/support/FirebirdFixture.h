#pragma once

#include <QString>
#include <QTemporaryDir>

// Fresh back-office and orders databases from the schemas in tests/fixtures (built once
// per schema with isql-fb, embedded engine, owner KALVE, then copied for every test) in a
// temporary folder that is removed with the object. Rows and further objects go in through
// a SideConnection: the embedded engine opens a database file for one process at a time,
// so no other program can reach it during a test.
class FirebirdFixture {
public:
    FirebirdFixture();

    QString backOfficePath() const { return backOfficePath_; }
    QString ordersPath() const { return ordersPath_; }
    QString folder() const { return folder_.path(); }

    // Creates another database in the folder from isql script text (statements ending
    // with ";"), in the given SQL dialect, owned by the given account.
    QString createDatabase(const QString& fileName, const QString& schema, int dialect = 3,
                           const QString& owner = QStringLiteral("KALVE"));

private:
    QTemporaryDir folder_;
    QString backOfficePath_;
    QString ordersPath_;
};
