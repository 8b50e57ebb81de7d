#include "platform/StoreStatement.h"

#include <sqlite3.h>
#include <utility>

StoreStatement::StoreStatement(sqlite3_stmt *statement, bool *inUse) : m_statement(statement), m_inUse(inUse)
{
}

StoreStatement::StoreStatement(StoreStatement &&other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr)), m_inUse(std::exchange(other.m_inUse, nullptr)),
      m_resultCode(other.m_resultCode)
{
}

StoreStatement &StoreStatement::operator=(StoreStatement &&other) noexcept
{
    if (this != &other) {
        release();
        m_statement = std::exchange(other.m_statement, nullptr);
        m_inUse = std::exchange(other.m_inUse, nullptr);
        m_resultCode = other.m_resultCode;
    }
    return *this;
}

StoreStatement::~StoreStatement()
{
    release();
}

void StoreStatement::release()
{
    if (!m_statement)
        return;
    if (m_inUse) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
        *m_inUse = false;
    } else {
        sqlite3_finalize(m_statement);
    }
    m_statement = nullptr;
    m_inUse = nullptr;
}

void StoreStatement::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void StoreStatement::bindInteger(int index, qint64 value)
{
    sqlite3_bind_int64(m_statement, index, value);
}

void StoreStatement::bindBlob(int index, const QByteArray &data)
{
    if (data.isEmpty())
        sqlite3_bind_null(m_statement, index);
    else
        sqlite3_bind_blob64(m_statement, index, data.constData(), sqlite3_uint64(data.size()),
                            SQLITE_TRANSIENT);
}

void StoreStatement::bindNull(int index)
{
    sqlite3_bind_null(m_statement, index);
}

StoreStatement::Step StoreStatement::step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return Step::Row;
    if (code == SQLITE_DONE)
        return Step::Done;
    m_resultCode = sqlite3_extended_errcode(sqlite3_db_handle(m_statement));
    return Step::Failed;
}

bool StoreStatement::run()
{
    for (;;) {
        switch (step()) {
        case Step::Row:
            continue;
        case Step::Done:
            return true;
        case Step::Failed:
            return false;
        }
    }
}

void StoreStatement::reset()
{
    sqlite3_reset(m_statement);
}

QString StoreStatement::text(int column) const
{
    // Most text columns of a contact are empty: the shared empty string, without a conversion.
    static const QString empty = QString::fromUtf8(QByteArrayView("", 0));
    const QByteArrayView bytes = textView(column);
    if (bytes.isNull())
        return QString();
    return bytes.isEmpty() ? empty : QString::fromUtf8(bytes);
}

QByteArrayView StoreStatement::textView(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return data ? QByteArrayView(data, sqlite3_column_bytes(m_statement, column)) : QByteArrayView();
}

qint64 StoreStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QByteArray StoreStatement::blob(int column) const
{
    const void *data = sqlite3_column_blob(m_statement, column);
    return data ? QByteArray(static_cast<const char *>(data), sqlite3_column_bytes(m_statement, column))
                : QByteArray();
}

bool StoreStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}
