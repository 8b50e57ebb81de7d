#pragma once

#include "platform/StoreContact.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The one deterministic address book every benchmark works on. Contact i is always the same (its
// store identifier aside, which the store draws): Latin and Japanese names, one to four phones with
// varied and custom labels, one or two e-mail addresses, postal addresses, notes, dates, a JPEG
// photo of about 2 KB on every tenth, categories on a quarter and custom-item values on a fifth.
namespace BenchContacts {

// 20,000, or CT_BENCH_CONTACTS when set (for the scaling runs).
int contactCount();

StoreContact contact(int i);
// The group names of contact i (empty for three quarters of them).
QStringList categories(int i);
// Every group name that categories() gives.
QStringList allCategories();
// Custom-item values of contact i as the cloud store keeps them (name to value); empty for most.
QVariantMap customValues(int i);
// The two custom-item definitions those values belong to: "Pets" (labelled) and "Renmei" (string).
QVariantList customItems();
// A JPEG of about 2 KB.
QByteArray photo(int i);

} // namespace BenchContacts
