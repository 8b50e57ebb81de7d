#pragma once

#include "grid/ContactsViewController.h"
#include "platform/UserDefaults.h"

#include <QTemporaryDir>

// The contacts grid in its "Phone" view type (a row per phone number, about 50,000 for the
// benchmark's contacts), sorted by name, with defaults of its own.
class BenchGrid
{
public:
    BenchGrid();

    ContactsViewController &controller() { return m_grid; }
    // Shows the table: the grid's first rows.
    void show(const ContactTablePtr &table);

private:
    QTemporaryDir m_folder;
    UserDefaults m_defaults;
    ContactsViewController m_grid;
};
