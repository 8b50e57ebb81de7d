#include "BenchContacts.h"

#include "model/QNPersonKeys.h"

#include <QBuffer>
#include <QImage>

namespace BenchContacts {

int contactCount()
{
    static const int count = [] {
        bool ok = false;
        const int given = qEnvironmentVariableIntValue("CT_BENCH_CONTACTS", &ok);
        return ok && given > 0 ? given : 20000;
    }();
    return count;
}

namespace {

const QStringList GivenNames{"Anna",  "Bruno",  "Chloé", "David",  "Elise",   "Farid", "Greta", "Hugo",
                             "Ines",  "Jonas",  "Kofi",  "Lena",   "Marek",   "Noor",  "Olga",  "Pavel",
                             "Quinn", "Rosa",   "Sven",  "Tomasz", "Ulrike",  "Vera",  "Wim",   "Xavier",
                             "Yusuf", "Zoë",    "Émile", "Åsa",    "Brígida", "Dmitri"};
const QStringList FamilyNames{"Abbott", "Berg",   "Costa",  "Dahl",    "Eriksen", "Fischer", "García",
                              "Hansen", "Ivanov", "Jensen", "Kowalski", "Lund",   "Meyer",   "Novak",
                              "O'Brien", "Ortiz", "Park",   "Quint",   "Rossi",   "Schäfer", "Silva",
                              "Taylor", "Ueda",   "Vasquez", "Weber",  "Xu",      "Young",   "Zhang",
                              "Mensah", "Nakamura"};
const QStringList JapaneseGiven{"太郎", "花子", "健一", "さくら", "翔太", "美咲", "大輔", "陽菜", "拓海", "結衣", "蓮", "葵"};
const QStringList JapaneseGivenReading{"たろう", "はなこ", "けんいち", "さくら", "しょうた", "みさき",
                                       "だいすけ", "ひな",  "たくみ",  "ゆい",  "れん",    "あおい"};
const QStringList JapaneseFamily{"山田", "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "中村", "小林", "加藤", "吉田", "山本"};
const QStringList JapaneseFamilyReading{"やまだ", "さとう", "すずき", "たかはし", "たなか", "いとう",
                                        "わたなべ", "なかむら", "こばやし", "かとう", "よしだ", "やまもと"};
const QStringList PhoneLabels{"_$!<Mobile>!$_", "_$!<Home>!$_", "_$!<Work>!$_",    "iPhone",
                              "_$!<WorkFAX>!$_", "_$!<Other>!$_", "Boat"};
const QStringList Categories{"Friends", "Family", "Work", "Club", "Neighbours", "Suppliers"};

void addNames(StoreContact &c, int i)
{
    if (i % 5 == 0) {
        const int given = (i / 5) % JapaneseGiven.size();
        const int family = (i / 60) % JapaneseFamily.size();
        c.givenName = JapaneseGiven.at(given);
        c.familyName = JapaneseFamily.at(family);
        c.phoneticGivenName = JapaneseGivenReading.at(given);
        c.phoneticFamilyName = JapaneseFamilyReading.at(family);
    } else {
        c.givenName = GivenNames.at(i % GivenNames.size());
        c.familyName = FamilyNames.at((i / 7) % FamilyNames.size());
        if (i % 4 == 1)
            c.middleName = QString(QChar(u'A' + i % 26)) + QLatin1Char('.');
    }
    if (i % 11 == 0)
        c.nickname = c.givenName.left(3);
    if (i % 23 == 0)
        c.setContactType(StoreContactType::Organization);
    if (i % 3 == 0) {
        c.organizationName = QStringLiteral("Company %1, Ltd.").arg(i % 500);
        c.departmentName = i % 2 == 0 ? QStringLiteral("Sales; Region %1").arg(i % 9) : QString();
        c.jobTitle = QStringLiteral("Manager");
    }
    if (i % 3 == 1)
        c.note = QStringLiteral("Met at the fair in %1.\nCall back in spring, not before ten.").arg(1990 + i % 30);
}

void addPhonesAndMail(StoreContact &c, int i)
{
    // One to four numbers, 2.5 on average, all different.
    for (int p = 0; p <= i % 4; ++p)
        c.phoneNumbers.append(
            {{},
             PhoneLabels.at((i + p * 3) % PhoneLabels.size()),
             QStringLiteral("+1 555 %1").arg((i * 7919 + p * 104729) % 10000000, 7, 10, QLatin1Char('0'))});
    for (int e = 0; e <= i % 2; ++e)
        c.emailAddresses.append({{},
                                 e == 0 ? QStringLiteral("_$!<Work>!$_") : QStringLiteral("_$!<Home>!$_"),
                                 QStringLiteral("person%1.%2@example%3.com").arg(i).arg(e).arg(i % 13)});
}

void addAddresses(StoreContact &c, int i)
{
    if (i % 2 == 0)
        c.postalAddresses.append(
            {{},
             QStringLiteral("_$!<Home>!$_"),
             {QStringLiteral("%1 Long Street Name Avenue\nApartment %2").arg(i).arg(i % 40),
              QStringLiteral("Springfield"), QStringLiteral("IL"), QStringLiteral("62701"),
              QStringLiteral("USA"), QStringLiteral("us")}});
    if (i % 6 == 0)
        c.postalAddresses.append({{},
                                  QStringLiteral("_$!<Work>!$_"),
                                  {QStringLiteral("千代田%1-1").arg(1 + i % 9), QStringLiteral("千代田区"),
                                   QStringLiteral("東京都"), QStringLiteral("100-0001"), QStringLiteral("日本"),
                                   QStringLiteral("jp")}});
}

void addOtherValues(StoreContact &c, int i)
{
    if (i % 4 == 0)
        c.urlAddresses.append(
            {{}, QStringLiteral("_$!<HomePage>!$_"), QStringLiteral("https://example.com/~%1").arg(i)});
    if (i % 6 == 0)
        c.dates.append({{}, QStringLiteral("_$!<Anniversary>!$_"), {2000 + i % 20, 1 + i % 12, 1 + i % 28}});
    if (i % 8 == 0)
        c.contactRelations.append(
            {{}, QStringLiteral("_$!<Spouse>!$_"), GivenNames.at((i + 3) % GivenNames.size())});
    if (i % 3 != 0)
        c.birthday =
            DateComponents{i % 2 ? std::optional<int>(1950 + i % 50) : std::nullopt, 1 + i % 12, 1 + i % 28};
    if (i % 10 == 0)
        c.socialProfiles.append({{},
                                 QStringLiteral("Twitter"),
                                 {QStringLiteral("https://twitter.com/user%1").arg(i),
                                  QStringLiteral("user%1").arg(i),
                                  {},
                                  QStringLiteral("Twitter")}});
    if (i % 9 == 0)
        c.instantMessageAddresses.append(
            {{}, QStringLiteral("_$!<Work>!$_"), {QStringLiteral("im%1").arg(i), QStringLiteral("Skype")}});
}

} // namespace

QByteArray photo(int i)
{
    // A gradient with some grain, so that it compresses like a small portrait rather than a flat
    // colour: about 2 KB as JPEG.
    constexpr int Side = 72;
    QImage image(Side, Side, QImage::Format_RGB32);
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            quint32 grain = (quint32(x) * 73856093u) ^ (quint32(y) * 19349663u) ^ (quint32(i) * 83492791u);
            grain = (grain ^ (grain >> 13)) * 0x5bd1e995u;
            image.setPixel(x, y, qRgb((x * 3 + i) & 0xff, (y * 3 + int(grain & 31)) & 0xff,
                                      ((x ^ y) * 3 + int(grain >> 27)) & 0xff));
        }
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 80);
    return jpeg;
}

StoreContact contact(int i)
{
    StoreContact c;
    addNames(c, i);
    addPhonesAndMail(c, i);
    addAddresses(c, i);
    addOtherValues(c, i);
    if (i % 10 == 3)
        c.imageData = photo(i);
    return c;
}

QStringList categories(int i)
{
    if (i % 4 != 0)
        return {};
    if (i % 8 == 0)
        return {Categories.at((i / 8) % Categories.size()), Categories.at((i / 8 + 1) % Categories.size())};
    return {Categories.at((i / 4) % Categories.size())};
}

QStringList allCategories()
{
    return Categories;
}

QVariantMap customValues(int i)
{
    QVariantMap values;
    if (i % 5 == 1)
        values.insert(QStringLiteral("Pets"),
                      QVariantList{QVariantMap{{PersonKey::Label, QStringLiteral("cat")},
                                               {PersonKey::Value, QStringLiteral("Tom %1").arg(i)}}});
    if (i % 7 == 0)
        values.insert(QStringLiteral("Renmei"), QStringLiteral("Renmei %1").arg(i % 40));
    return values;
}

QVariantList customItems()
{
    return {QVariantMap{{PersonKey::ItemName, QStringLiteral("Pets")}, {PersonKey::ItemType, PersonValueType::Labeled}},
            QVariantMap{{PersonKey::ItemName, QStringLiteral("Renmei")}, {PersonKey::ItemType, PersonValueType::String}}};
}

} // namespace BenchContacts
