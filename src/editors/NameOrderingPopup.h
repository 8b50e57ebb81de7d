#pragma once

#include <QComboBox>

// The name-ordering popup of the name editors: the system's order, "First Name First" and "Last
// Name First", item i standing for the NameDict "nameOrdering" i. It shows the ordering only, so
// it stays disabled.
class NameOrderingPopup : public QComboBox
{
    Q_OBJECT

public:
    explicit NameOrderingPopup(QWidget *parent = nullptr);

    // Titles the first item after the system's order and selects the ordering (anything but 1
    // and 2 is the system's).
    void showOrdering(const QString &systemTitle, int ordering);
    int ordering() const { return currentIndex(); }

    // The first item's title for the Contacts sort order.
    static QString systemTitleForSortOrder();
    // The first item's title for a record's default name ordering (2 is family name first).
    static QString systemTitleForNameOrdering(int ordering);
};
