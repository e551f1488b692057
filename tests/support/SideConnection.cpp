#include "SideConnection.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr int kMaxColumns = 64;
constexpr short kTextLength = 1024;

void check(const ISC_STATUS* status, const char* what)
{
    if (status[0] != 1 || status[1] == 0)
        return;
    std::string text = what;
    std::array<char, 512> line{};
    const ISC_STATUS* cursor = status;
    while (fb_interpret(line.data(), line.size(), &cursor) > 0)
        text += std::string(": ") + line.data();
    throw std::runtime_error(text);
}

// A read-committed transaction that commits when the work succeeded and rolls back otherwise.
class ShortTransaction {
public:
    explicit ShortTransaction(isc_db_handle& database)
    {
        static const char block[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                                     isc_tpb_wait};
        ISC_STATUS_ARRAY status;
        isc_start_transaction(status, &handle_, 1, &database, static_cast<unsigned short>(sizeof block), block);
        check(status, "start transaction");
    }
    ~ShortTransaction()
    {
        if (handle_ != 0) {
            ISC_STATUS_ARRAY status;
            isc_rollback_transaction(status, &handle_);
        }
    }
    void commit()
    {
        ISC_STATUS_ARRAY status;
        isc_commit_transaction(status, &handle_);
        check(status, "commit");
    }
    isc_tr_handle* handle() { return &handle_; }

private:
    isc_tr_handle handle_ = 0;
};

class SideStatement {
public:
    SideStatement(isc_db_handle& database, ShortTransaction& transaction, const QString& sql)
        : columns_(std::make_unique<char[]>(XSQLDA_LENGTH(kMaxColumns)))
    {
        ISC_STATUS_ARRAY status;
        isc_dsql_allocate_statement(status, &database, &handle_);
        check(status, "allocate statement");
        descriptor()->version = SQLDA_VERSION1;
        descriptor()->sqln = kMaxColumns;
        const QByteArray text = sql.toLatin1();
        isc_dsql_prepare(status, transaction.handle(), &handle_, 0, text.constData(), SQL_DIALECT_V6, descriptor());
        check(status, "prepare");
        if (descriptor()->sqld > kMaxColumns)
            throw std::runtime_error("too many columns for a side connection");
        // Every column is asked for as text: the server converts it.
        buffers_.resize(static_cast<std::size_t>(descriptor()->sqld));
        indicators_.resize(buffers_.size());
        for (std::size_t i = 0; i < buffers_.size(); ++i) {
            XSQLVAR& column = descriptor()->sqlvar[i];
            column.sqltype = SQL_VARYING + 1;
            column.sqllen = kTextLength;
            column.sqlsubtype = 0;
            column.sqlscale = 0;
            buffers_[i].resize(kTextLength + sizeof(short));
            column.sqldata = buffers_[i].data();
            column.sqlind = &indicators_[i];
        }
        isc_dsql_execute(status, transaction.handle(), &handle_, SQLDA_VERSION1, nullptr);
        check(status, "execute");
    }
    ~SideStatement()
    {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &handle_, DSQL_drop);
    }

    std::vector<SideRow> fetchAll()
    {
        std::vector<SideRow> rows;
        ISC_STATUS_ARRAY status;
        while (isc_dsql_fetch(status, &handle_, SQLDA_VERSION1, descriptor()) == 0) {
            SideRow row;
            for (std::size_t i = 0; i < buffers_.size(); ++i) {
                if (indicators_[i] < 0) {
                    row.push_back(std::nullopt);
                    continue;
                }
                short length = 0;
                std::copy_n(buffers_[i].data(), sizeof length, reinterpret_cast<char*>(&length));
                row.push_back(QString::fromLatin1(buffers_[i].data() + sizeof length, length));
            }
            rows.push_back(std::move(row));
        }
        check(status, "fetch");
        return rows;
    }

private:
    XSQLDA* descriptor() { return reinterpret_cast<XSQLDA*>(columns_.get()); }

    isc_stmt_handle handle_ = 0;
    std::unique_ptr<char[]> columns_;
    std::vector<std::vector<char>> buffers_;
    std::vector<short> indicators_;
};

} // namespace

SideConnection::SideConnection(const QString& location, const QString& user, const QString& password)
{
    const QByteArray userBytes = user.toLatin1();
    const QByteArray passwordBytes = password.toLatin1();
    QByteArray parameters;
    parameters += char(isc_dpb_version1);
    parameters += char(isc_dpb_user_name);
    parameters += char(userBytes.size());
    parameters += userBytes;
    parameters += char(isc_dpb_password);
    parameters += char(passwordBytes.size());
    parameters += passwordBytes;
    const QByteArray name = location.toLocal8Bit();
    ISC_STATUS_ARRAY status;
    isc_attach_database(status, 0, name.constData(), &database_, static_cast<short>(parameters.size()),
                        parameters.constData());
    check(status, "attach");
}

SideConnection::~SideConnection()
{
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &database_);
}

void SideConnection::execute(const QString& sql)
{
    ShortTransaction transaction(database_);
    const QByteArray text = sql.toLatin1();
    ISC_STATUS_ARRAY status;
    isc_dsql_execute_immediate(status, &database_, transaction.handle(), 0, text.constData(), SQL_DIALECT_V6, nullptr);
    check(status, "execute");
    transaction.commit();
}

std::vector<SideRow> SideConnection::rows(const QString& sql)
{
    ShortTransaction transaction(database_);
    std::vector<SideRow> result;
    {
        SideStatement statement(database_, transaction, sql);
        result = statement.fetchAll();
    }
    transaction.commit();
    return result;
}

SideValue SideConnection::value(const QString& sql)
{
    const std::vector<SideRow> result = rows(sql);
    if (result.size() != 1)
        throw std::runtime_error("expected one row from: " + sql.toStdString());
    return result.front().front();
}
