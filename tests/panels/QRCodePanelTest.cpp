#include "QRDecode.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "panels/QRCodePanelController.h"
#include "panels/QRCodeView.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/Localizer.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString PngMime = QStringLiteral("image/png");

class QRCodePanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("us"));
        m_window.show();
        m_panel = std::make_unique<QRCodePanelController>();
    }
    void TearDown() override
    {
        m_panel.reset();
        QGuiApplication::clipboard()->clear();
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
    }

    // Two phones, no e-mail address, a three-line address, a URL, company, department and title.
    static QNPersonPtr john()
    {
        auto person = std::make_shared<QNPerson>();
        person->setValue(QVariantMap{{PersonKey::FirstName, "John"},
                                     {PersonKey::LastName, "Doe"},
                                     {PersonKey::ShowAsPerson, true},
                                     {PersonKey::NameOrdering, 1}},
                         PersonIdentifier::Name);
        person->setValue(QVariantList{QVariantMap{{"label", "mobile"}, {"value", "090-1111"}},
                                      QVariantMap{{"label", "home"}, {"value", "03-2222"}}},
                         "Phone");
        person->setValue(QVariantList{QVariantMap{{"label", "home"}, {"Street", "1 Main St\nApt 2\nRear"}}},
                         "Address");
        person->setValue(QVariantList{QVariantMap{{"label", "work"}, {"value", "example.com"}}}, "URL");
        person->setValue(QStringLiteral("Acme"), "Company");
        person->setValue(QStringLiteral("Sales"), "Department");
        person->setValue(QStringLiteral("Boss"), "Job Title");
        return person;
    }

    // A Japanese business card: three phones, two addresses, a company.
    static QNPersonPtr hanako()
    {
        auto person = std::make_shared<QNPerson>();
        person->setValue(QVariantMap{{PersonKey::FirstName, "花子"}, {PersonKey::LastName, "山田"}},
                         PersonIdentifier::Name);
        QVariantList phones, addresses;
        for (const char *number : {"03-1234-5678", "090-1234-5678", "045-987-6543"})
            phones.append(QVariantMap{{"label", "work"}, {"value", number}});
        for (const char *street :
             {"丸の内一丁目2番3号 丸の内ビルディング15階", "桜丘町4丁目5番6号 桜ハイツ701号室"})
            addresses.append(QVariantMap{{"label", "work"},
                                         {PersonKey::Street, QString::fromUtf8(street)},
                                         {PersonKey::City, "千代田区"},
                                         {PersonKey::State, "東京都"},
                                         {PersonKey::ZIP, "100-0005"}});
        person->setValue(phones, "Phone");
        person->setValue(addresses, "Address");
        person->setValue(QStringLiteral("株式会社ペンバーリン商事 海外営業本部"), "Company");
        return person;
    }

    void tickEveryRow()
    {
        for (int row = 0; row < m_panel->table().size(); ++row)
            valueCell(row)->setCheckState(Qt::Checked);
    }

    // The image area as the screen shows it, read back.
    std::optional<QString> decodeShownCode() const
    {
        return QRDecode::decode(m_panel->imageView()->grab().toImage());
    }

    void open(const QNPersonPtr &person)
    {
        auto row = std::make_shared<SubContactRow>();
        row->person = person;
        row->uniqueId = person->uniqueId();
        m_panel->setContact(row);
        m_panel->beginSheetModalForWindow(&m_window, [this](int code) { m_returnCode = code; });
    }

    QTableWidgetItem *valueCell(int row) const { return m_panel->tableView()->item(row, 1); }
    QStringList enabledKinds() const
    {
        QStringList kinds;
        for (int row = 0; row < m_panel->table().size(); ++row) {
            if (valueCell(row)->flags() & Qt::ItemIsEnabled)
                kinds.append(m_panel->table().at(row).type);
        }
        return kinds;
    }

    QWidget m_window;
    std::unique_ptr<QRCodePanelController> m_panel;
    std::optional<int> m_returnCode;
};

TEST_F(QRCodePanelTest, RowsListTheValuesWithTheFirstOfEachKindTicked)
{
    open(john());
    QStringList kinds, titles;
    QList<bool> ticks;
    for (int row = 0; row < m_panel->table().size(); ++row) {
        kinds.append(m_panel->table().at(row).type);
        titles.append(valueCell(row)->text());
        ticks.append(valueCell(row)->checkState() == Qt::Checked);
    }
    EXPECT_EQ(kinds, QStringList({"Phone", "Phone", "Email", "Address", "URL", "Company", "Department",
                                  "Job Title"}));
    EXPECT_EQ(ticks, QList<bool>({true, false, false, true, false, false, false, false}));
    EXPECT_EQ(titles.mid(0, 3), QStringList({"mobile: 090-1111", "home: 03-2222", ""}));
    EXPECT_TRUE(titles.at(3).startsWith("home: 1 Main St\nApt 2\nRear"));
    EXPECT_EQ(titles.mid(4), QStringList({"work: example.com", "Acme", "Sales", "Boss"}));
    EXPECT_EQ(m_panel->tableView()->item(5, 0)->text(), QNPerson::localizedIdentifierForKey("Company"));

    // A three-line address is three rows of 18; the others are one row of 20.
    EXPECT_EQ(m_panel->heightOfRow(3), 54);
    EXPECT_EQ(m_panel->tableView()->rowHeight(3), 54);
    EXPECT_EQ(m_panel->tableView()->rowHeight(0), 20);
    EXPECT_EQ(m_panel->tableView()->rowHeight(2), 20);
}

TEST_F(QRCodePanelTest, TheFormatEnablesTheRowsItReadsAndKeepsTheOtherTicks)
{
    open(john());
    m_panel->selectFormat(QRFormat::Phone);
    EXPECT_EQ(enabledKinds(), QStringList({"Phone", "Phone"}));
    EXPECT_EQ(m_panel->payload(), "tel:090-1111");
    m_panel->selectFormat(QRFormat::SoftBank);
    EXPECT_EQ(enabledKinds(), QStringList({"Phone", "Phone", "Email", "Address"}));
    m_panel->selectFormat(QRFormat::VCard);
    EXPECT_EQ(enabledKinds().size(), m_panel->table().size());
    // The address stayed ticked while the phone format could not read it.
    EXPECT_TRUE(m_panel->payload().contains("\r\nADR;type=home:;;1 Main St Apt 2 Rear;;;;\r\n"));
}

TEST_F(QRCodePanelTest, ATickRebuildsTextAndImageAtOnce)
{
    open(john());
    m_panel->selectFormat(QRFormat::Phone);
    const QImage before = m_panel->image();
    valueCell(1)->setCheckState(Qt::Checked);
    EXPECT_TRUE(m_panel->table().at(1).selected);
    EXPECT_EQ(m_panel->textView()->toPlainText(), "tel:03-2222");
    EXPECT_NE(m_panel->image(), before);

    // The empty e-mail row is enabled and can be ticked.
    m_panel->selectFormat(QRFormat::Email);
    valueCell(2)->setCheckState(Qt::Checked);
    EXPECT_TRUE(m_panel->table().at(2).selected);
    EXPECT_EQ(m_panel->payload(), "mailto:");
}

TEST_F(QRCodePanelTest, CopyPutsOnlyThePngOnTheClipboardAndItReadsBack)
{
    open(john());
    m_panel->selectFormat(QRFormat::Docomo);
    m_panel->copyButton()->click();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->formats(), QStringList{PngMime});
    if (!QRDecode::isAvailable())
        GTEST_SKIP() << "zbarimg is not installed";
    EXPECT_EQ(QRDecode::decodePng(data->data(PngMime)), m_panel->payload());
}

TEST_F(QRCodePanelTest, ALargeCodeShowsWholeAndScansAtAnySheetSize)
{
    if (!QRDecode::isAvailable())
        GTEST_SKIP() << "zbarimg is not installed";
    // A business card larger than the fixed area that used to crop it, and a code near the
    // largest there is.
    QNPersonPtr nearlyTooLong = john();
    nearlyTooLong->setValue(QString(2650, QLatin1Char('x')), "Company");
    for (const QNPersonPtr &person : {hanako(), nearlyTooLong}) {
        m_panel = std::make_unique<QRCodePanelController>();
        open(person);
        m_panel->selectFormat(QRFormat::VCard);
        tickEveryRow();
        ASSERT_GT(m_panel->image().width(), 300);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_panel.get()));
        const QRect shown = m_panel->imageView()->codeRect();
        EXPECT_TRUE(m_panel->imageView()->rect().contains(shown));
        EXPECT_EQ(decodeShownCode(), m_panel->payload());

        // A larger sheet draws it larger, still whole.
        m_panel->resize(1400, 1000);
        QCoreApplication::processEvents();
        const QRect larger = m_panel->imageView()->codeRect();
        EXPECT_GT(larger.width(), shown.width());
        EXPECT_TRUE(m_panel->imageView()->rect().contains(larger));
        EXPECT_EQ(decodeShownCode(), m_panel->payload());
    }
}

// The Copy button used to empty the clipboard here; it now keeps what was there.
TEST_F(QRCodePanelTest, ATooLongPayloadIsSaidInTheImageAreaAndCopyKeepsTheClipboard)
{
    QNPersonPtr person = john();
    person->setValue(QString(3000, QLatin1Char('x')), "Company");
    open(person);
    m_panel->selectFormat(QRFormat::VCard);
    valueCell(5)->setCheckState(Qt::Checked);
    ASSERT_TRUE(m_panel->image().isNull());
    EXPECT_FALSE(m_panel->payload().isEmpty());
    EXPECT_EQ(m_panel->imageView()->message(),
              L(QStringLiteral("The chosen values are too long for a QR code.")));

    QGuiApplication::clipboard()->setText("earlier");
    m_panel->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "earlier");
    QTest::mouseClick(m_panel->copyButton(), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "earlier");

    // Unticked, the code and Copy come back.
    valueCell(5)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(m_panel->imageView()->message().isEmpty());
    QTest::mouseClick(m_panel->copyButton(), Qt::LeftButton);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(PngMime));
}

TEST_F(QRCodePanelTest, CloseEndsTheSheetWithOne)
{
    open(john());
    m_panel->closeButton()->click();
    EXPECT_EQ(m_returnCode, 1);
    EXPECT_FALSE(m_panel->isVisible());
}

} // namespace
