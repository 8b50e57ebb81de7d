#pragma once

#include "model/QNPersonKeys.h"

#include <QVariantMap>

#include <optional>

// A read-only view of one entry of a labelled list. The entry stays a map, for it goes to JSON,
// the pasteboard and the cloud store as it is; code that reads it asks here. An entry without a
// "labelIndex" is in no list yet: its number is absent, never 0.
class LabeledEntry
{
public:
    explicit LabeledEntry(QVariantMap entry) : m_entry(std::move(entry)) {}

    QString label() const { return m_entry.value(PersonKey::Label).toString(); }
    QVariant value() const { return m_entry.value(PersonKey::Value); }
    std::optional<qint64> labelIndex() const
    {
        bool ok = false;
        const qint64 number = m_entry.value(PersonKey::LabelIndex).toLongLong(&ok);
        return ok ? std::optional<qint64>(number) : std::nullopt;
    }

private:
    QVariantMap m_entry;
};
