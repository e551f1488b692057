#pragma once

#include <QString>

#include <ibase.h>

#include <optional>
#include <vector>

using SideValue = std::optional<QString>;   // NULL is std::nullopt
using SideRow = std::vector<SideValue>;

// A test's own attachment, through the client library directly and never through the
// code under test. Every call runs in a short read-committed transaction of its own, so
// it sees exactly what other transactions have committed. Values come back as the
// server's own text for them (numbers "5.60", dates "2024-03-15").
class SideConnection {
public:
    explicit SideConnection(const QString& location, const QString& user = QStringLiteral("KALVE"),
                            const QString& password = QStringLiteral("##384756"));
    ~SideConnection();

    SideConnection(const SideConnection&) = delete;
    SideConnection& operator=(const SideConnection&) = delete;

    void execute(const QString& sql);
    std::vector<SideRow> rows(const QString& sql);
    // The first column of the only row; fails unless the select gives exactly one row.
    SideValue value(const QString& sql);

private:
    isc_db_handle database_ = 0;
};
