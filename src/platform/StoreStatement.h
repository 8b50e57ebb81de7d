#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct sqlite3_stmt;

// One prepared SQLite statement. It may be borrowed from its connection's cache: then it is reset
// and its bindings cleared when this object goes, so that it can serve the next caller.
class StoreStatement
{
public:
    enum class Step
    {
        Row,
        Done,
        Failed
    };

    StoreStatement() = default;
    StoreStatement(sqlite3_stmt *statement, bool *inUse);
    StoreStatement(const StoreStatement &) = delete;
    StoreStatement &operator=(const StoreStatement &) = delete;
    StoreStatement(StoreStatement &&other) noexcept;
    StoreStatement &operator=(StoreStatement &&other) noexcept;
    ~StoreStatement();

    bool isValid() const { return m_statement != nullptr; }

    void bind(int index, const QString &text);
    void bindInteger(int index, qint64 value);
    // Empty data binds NULL, so an absent image reads back as absent.
    void bindBlob(int index, const QByteArray &data);
    void bindNull(int index);

    Step step();
    // Steps to the end; false when a step failed.
    bool run();
    // Makes the statement ready to run again; the bindings stay.
    void reset();
    // The result code of the last failed step, for the error text.
    int resultCode() const { return m_resultCode; }

    QString text(int column) const;
    // The column's UTF-8 bytes without a copy, valid until the next step; null for NULL.
    QByteArrayView textView(int column) const;
    qint64 integer(int column) const;
    QByteArray blob(int column) const;
    bool isNull(int column) const;

private:
    void release();

    sqlite3_stmt *m_statement = nullptr;
    bool *m_inUse = nullptr; // null for a statement of its own, finalised on release
    int m_resultCode = 0;
};
