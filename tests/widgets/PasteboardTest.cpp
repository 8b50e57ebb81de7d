#include "platform/widgets/FindPasteboard.h"
#include "platform/widgets/PasteboardTypes.h"
#include "platform/widgets/TemporaryFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

struct MimeCase
{
    QString pasteboardType;
    QString mimeType;
};

class PasteboardMime : public ::testing::TestWithParam<MimeCase>
{
};

TEST_P(PasteboardMime, MapsToItsMimeType)
{
    EXPECT_EQ(PasteboardTypes::mimeType(GetParam().pasteboardType), GetParam().mimeType);
}

INSTANTIATE_TEST_SUITE_P(Cases, PasteboardMime,
                         ::testing::Values(MimeCase{"public.vcard", "text/vcard"},
                                           MimeCase{"public.vCard", "text/vcard"},
                                           MimeCase{"QN1PstringIndexes", "application/x-qn1pstringindexes"},
                                           MimeCase{"public.utf8-plain-text", "text/plain"},
                                           MimeCase{"public.file-url", "text/uri-list"},
                                           MimeCase{"public.comma-separated-values-text", "text/csv"},
                                           MimeCase{"labelIndex", "application/x-labelindex"}));

TEST(PasteboardTypes, StringsRoundTripUnderTheirTypes)
{
    QMimeData data;
    PasteboardTypes::setString(&data, PasteboardTypes::StringIndexes, "3,7,12");
    PasteboardTypes::setString(&data, PasteboardTypes::VCard, "BEGIN:VCARD\r\nFN:Jürgen\r\nEND:VCARD\r\n");
    PasteboardTypes::setString(&data, PasteboardTypes::String, "Jürgen\t03-1234");
    PasteboardTypes::setString(&data, PasteboardTypes::FileURL,
                               QUrl::fromLocalFile("/tmp/x y.vcf").toString());

    EXPECT_EQ(PasteboardTypes::string(&data, PasteboardTypes::StringIndexes), "3,7,12");
    EXPECT_EQ(PasteboardTypes::string(&data, PasteboardTypes::VCard),
              "BEGIN:VCARD\r\nFN:Jürgen\r\nEND:VCARD\r\n");
    EXPECT_EQ(data.text(), "Jürgen\t03-1234");
    EXPECT_EQ(data.urls().value(0).toLocalFile(), "/tmp/x y.vcf");
    EXPECT_EQ(QUrl(PasteboardTypes::string(&data, PasteboardTypes::FileURL)).toLocalFile(), "/tmp/x y.vcf");
    EXPECT_FALSE(PasteboardTypes::hasType(&data, PasteboardTypes::LabelIndex));

    // vCard data of other programs arrives under an older name.
    QMimeData other;
    other.setData("text/x-vcard", "BEGIN:VCARD");
    EXPECT_TRUE(PasteboardTypes::hasType(&other, PasteboardTypes::VCard));
    EXPECT_EQ(PasteboardTypes::string(&other, PasteboardTypes::VCard), "BEGIN:VCARD");
}

TEST(FindPasteboard, KeepsTheFindString)
{
    FindPasteboard::setString("Tanaka");
    EXPECT_EQ(FindPasteboard::string(), "Tanaka");
    FindPasteboard::setString(QString());
    EXPECT_TRUE(FindPasteboard::string().isEmpty());
}

TEST(TemporaryFiles, OneFolderPerProcess)
{
    const QString path = TemporaryFiles::path();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(TemporaryFiles::path(), path);
    EXPECT_EQ(TemporaryFiles::filePath("draggingContacts.vcf"), QDir(path).filePath("draggingContacts.vcf"));
}

} // namespace
