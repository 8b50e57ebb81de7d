#include "SaveFixture.h"

#include "app/MenuCommand.h"
#include "panels/QRCodePanelController.h"

#include <QPointer>

namespace {

class QRCodeSheet : public SaveFixture
{
};

TEST_F(QRCodeSheet, OpensForTheSelectedRowAndANewOneReplacesIt)
{
    window->show();
    QAction *item = window->menuItem(MenuCommand::ShowQRCode);
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(view()->validateMenuItem(item));

    const ContactRowPtr ann = row(top(), "Ann");
    view()->contactsViewController()->selectRowIndexesWithContacts({ann});
    ASSERT_TRUE(view()->validateMenuItem(item));
    const QList<SubContactRowPtr> selected = view()->contactsViewController()->selectedSubContacts();
    ASSERT_FALSE(selected.isEmpty());
    view()->showQRCodeForContact(selected.first());
    QPointer<QRCodePanelController> first = view()->qrCodePanelController();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isSheetOpen());
    EXPECT_EQ(first->contact()->person, ann->person);
    EXPECT_TRUE(first->payload().startsWith("MECARD:N:"))
        << first->payload().toStdString();

    view()->showQRCodeForContact(selected.first());
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(view()->qrCodePanelController());
}

} // namespace
