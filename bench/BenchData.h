#pragma once

#include <QString>

// The files every benchmark reads, made once from BenchContacts by the bench_data program and
// kept in a folder for later runs: a store of the 20,000 contacts (categories as groups) with its
// cloud store of custom values and its defaults, "contacts.vcf" (vCard 3.0 as the program exports
// it, with notes, photos, custom items and categories) and "contacts.csv" (the 32-column export).
namespace BenchData {

// $CT_BENCH_DATA, else a folder in the temporary directory named after the generator's version.
QString folder();
QString storePath();
QString cloudPath();
QString defaultsPath();
QString vCardPath();
QString csvPath();

// Makes the files when missing by running bench_data beside this program, so that making them
// adds nothing to this process's peak memory. An error text, empty on success.
QString ensure();
// Writes all of them into the folder (bench_data's work). An error text, empty on success.
QString generate(const QString &folder);

QString readText(const QString &path);

} // namespace BenchData
