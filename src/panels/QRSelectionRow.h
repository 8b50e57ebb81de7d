#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>

class QNPerson;

// One row of the QR-code sheet's selection table: a value of the contact and its checkbox.
struct QRSelectionRow
{
    // "Phone", "Email", "Address", "URL", "Company", "Department" or "Job Title".
    QString type;
    // Only on rows made from an entry of a labelled list.
    std::optional<QString> label;
    // The text that goes into a payload; an address's one-line text.
    QString value;
    bool selected = false;
    // The whole address entry; only on address rows.
    std::optional<QVariantMap> addressValue;

    // The contact's phones, e-mail addresses and addresses (the first of each ticked), its URLs
    // (none ticked), then company, department and job title (unticked, also when empty). A list
    // without entries still gets one empty row, so that its kind can be ticked.
    static QList<QRSelectionRow> rowsFromPerson(QNPerson &person);

    // The checkbox's text: "label: value" for a labelled entry (the label in the user's language),
    // the value alone otherwise, and nothing while the value is empty.
    QString title() const;
    // One line is rowHeight high; a value of n lines takes n times (rowHeight - 2).
    int height(int rowHeight) const;
};
