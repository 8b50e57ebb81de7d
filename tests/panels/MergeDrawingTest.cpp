#include "MergeFixture.h"

#include "ui/widgets/SeparatorBox.h"

#include <QImage>
#include <QLineEdit>
#include <QTest>

namespace {

using MergeDrawingTest = MergeFixture;

// CT_MERGE_SCREENSHOT=path keeps the drawn sheet as a picture and leaves it on screen a while, for
// a look under a real display.
TEST_F(MergeDrawingTest, ALatinAndAJapaneseContactAreDrawnSideBySide)
{
    const ContactRowPtr ann = contact("Ann", "Lee");
    setList(ann, "Phone", {"+1 555 0100", "+1 555 0101"});
    ann->person->setValue(QStringLiteral("Likes tea.\nCalls after six."), "Note");
    const ContactRowPtr taro = contact(QStringLiteral("太郎"), QStringLiteral("山田"));
    taro->person->setValue(QStringLiteral("株式会社サンプル"), "Company");
    taro->person->setValue(QVariantMap{{"FirstName", QStringLiteral("たろう")}, {"LastName", QStringLiteral("やまだ")}},
                           "Phonetic Name");
    setList(taro, "Email", {"taro@example.jp"});
    open({ann, taro}, true);
    sheet->resize(900, 640);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
    EXPECT_TRUE(sheet->nameFieldRight()->text().contains(QStringLiteral("太郎")));

    const QImage drawn = sheet->grab().toImage();
    const QPoint separator = sheet->redSeparator()->geometry().center();
    EXPECT_EQ(drawn.pixelColor(separator * drawn.devicePixelRatio()), QColor(Qt::red));

    const QByteArray path = qgetenv("CT_MERGE_SCREENSHOT");
    if (!path.isEmpty()) {
        drawn.save(QString::fromLocal8Bit(path));
        QTest::qWait(4000);
    }
}

} // namespace
