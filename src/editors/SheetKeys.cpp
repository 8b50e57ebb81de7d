#include "editors/SheetKeys.h"

#include <QDialog>
#include <QPushButton>

namespace SheetKeys {

void setConfirmingButton(QDialog *sheet, QPushButton *confirming)
{
    if (!sheet || !confirming)
        return;
    for (QPushButton *button : sheet->findChildren<QPushButton *>())
        button->setAutoDefault(false);
    confirming->setDefault(true);
}

} // namespace SheetKeys
