#pragma once

#include "model/QNvCard.h"

#include <QString>

#include <optional>

class ProgressAlert;

// Reads the text of a CSV file into new contacts on the background pool while the progress window
// shows "Reading the file: <name>" and the share of the text read, as the vCard import does, so
// that a huge file never holds the window. Nothing when the user cancelled; the read then stops
// at its next header or line.
std::optional<QNvCard::CsvImport> contactsFromCSVWithProgress(ProgressAlert &alert, QString text,
                                                              const QString &fileName);
