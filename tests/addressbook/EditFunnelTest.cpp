#include "AddressBookFixture.h"

#include "ui/contracts/MergeContextDict.h"
#include "addressbook/UndoGroup.h"

namespace {

using Apply = std::function<bool(EditFunnel &, const ContactRowPtr &)>;
using Read = std::function<QVariant(QNPerson &)>;

const QVariantList CustomItems = {
    QVariantMap{{"Name", "Pets"}, {"Type", "Labeled Value"}},
    QVariantMap{{"Name", "Hobby"}, {"Type", "String Value"}},
};

QVariantMap entry(const QString &label, const QString &value, int labelIndex = -1)
{
    QVariantMap map{{"label", label}, {"value", value}};
    if (labelIndex >= 0)
        map.insert("labelIndex", labelIndex);
    return map;
}

Apply replaceValue(const QVariant &value, const QString &identifier)
{
    return [=](EditFunnel &v, const ContactRowPtr &r) {
        return v.undoReplaceValue(value, identifier, r, nullptr);
    };
}

Apply replaceList(const QVariant &value, const QString &identifier)
{
    return [=](EditFunnel &v, const ContactRowPtr &r) {
        return v.undoReplaceLabeledValue(value, identifier, r, nullptr);
    };
}

Apply addEntry(const QVariantMap &value, const QString &identifier)
{
    return [=](EditFunnel &v, const ContactRowPtr &r) {
        return v.undoAddLabeledValue(value, identifier, r, nullptr);
    };
}

Apply deleteEntry(const QString &identifier, int labelIndex)
{
    return [=](EditFunnel &v, const ContactRowPtr &r) {
        return v.undoDeleteLabeledValueForIdentifier(identifier, labelIndex, r, nullptr);
    };
}

QVariant birthday(QNPerson &person)
{
    return person.birthdayValue().value_or(QVariantMap()).value("value");
}

Read list(const QString &identifier)
{
    return [identifier](QNPerson &person) { return QVariant(person.labeledValueForIdentifier(identifier)); };
}

Read text(const QString &identifier)
{
    return [identifier](QNPerson &person) { return QVariant(person.stringValueForIdentifier(identifier)); };
}

QVariant photoBytes(QNPerson &person)
{
    person.photo();
    return person.imageData().value_or(QByteArray("unread"));
}

QVariantMap changedAddress(QNPerson &person)
{
    QVariantMap address = person.labeledValueForIdentifierAtLabelIndex("Address", 0).value();
    address.insert("ZIP", "10001");
    address.insert("City", "New York");
    return address;
}

struct ValueEdit
{
    const char *name;
    Apply apply;
    Read read;
};

class ValueEditTest : public AddressBookFixture, public ::testing::WithParamInterface<ValueEdit>
{
};

TEST_P(ValueEditTest, UndoAndRedoRestoreTheValuesExactly)
{
    const ContactRowPtr row = rowOf(sampleContact("Ann"));
    book->setCustomItems(CustomItems);
    QNPerson &person = *row->person;
    const QVariant before = GetParam().read(person);
    bool registeredBeforeRefresh = true;
    onTell = [&] { registeredBeforeRefresh = registeredBeforeRefresh && undoManager().canUndo(); };

    ASSERT_TRUE(GetParam().apply(funnel(), row));
    onTell = {};
    const QVariant after = GetParam().read(person);
    EXPECT_NE(after, before);
    EXPECT_TRUE(person.isChanged());
    EXPECT_TRUE(registeredBeforeRefresh);
    EXPECT_FALSE(told.isEmpty());
    EXPECT_TRUE(book->isEdited());

    book->undo();
    EXPECT_EQ(GetParam().read(person), before);
    EXPECT_FALSE(undoManager().canUndo());
    EXPECT_FALSE(book->isEdited());
    book->redo();
    EXPECT_EQ(GetParam().read(person), after);
    EXPECT_TRUE(book->isEdited());
    book->undo();
    EXPECT_EQ(GetParam().read(person), before);
}

INSTANTIATE_TEST_SUITE_P(
    EveryMethod, ValueEditTest,
    ::testing::Values(
        ValueEdit{"Company", replaceValue("Globex", "Company"), text("Company")},
        ValueEdit{"NilCompanyStoresEmptyText", replaceValue({}, "Company"),
                  [](QNPerson &p) { return p.valueForIdentifier("Company"); }},
        ValueEdit{"CustomText", replaceValue("Chess", "Hobby"), text("Hobby")},
        ValueEdit{"ZipReplacesTheWholeAddress",
                  [](EditFunnel &v, const ContactRowPtr &r) {
                      return v.undoReplaceValue(changedAddress(*r->person), "ZIP", r, nullptr);
                  },
                  list("Address")},
        ValueEdit{"PhoneListThroughTheGeneralSetter",
                  replaceValue(QVariantList{entry("mobile", "999")}, "Phone"), list("Phone")},
        ValueEdit{"PhonesCleared", replaceList({}, "Phone"), list("Phone")},
        ValueEdit{"OneEmail", replaceList(entry("work", "ann@work.example", 0), "Email"), list("Email")},
        ValueEdit{"FirstValueOfACustomList", replaceList(entry("dog", "Rex"), "Pets"), list("Pets")},
        ValueEdit{"AddedPhone", addEntry(entry("mobile", "333"), "Phone"), list("Phone")},
        ValueEdit{"AddedToAFieldWithoutAList", addEntry(entry("home", "http://ann.example"), "URL"),
                  list("URL")},
        ValueEdit{"DeletedPhone", deleteEntry("Phone", 1), list("Phone")},
        ValueEdit{"Name",
                  [](EditFunnel &v, const ContactRowPtr &r) {
                      return v.undoReplaceNameValue({{"FirstName", "Bo"}, {"LastName", "Kim"}}, r);
                  },
                  [](QNPerson &p) { return QVariant(p.nameValue()); }},
        ValueEdit{"PhoneticName",
                  [](EditFunnel &v, const ContactRowPtr &r) {
                      return v.undoReplacePhoneticNameValue(QVariantMap{{"FirstName", "bo"}}, r);
                  },
                  [](QNPerson &p) { return p.valueForIdentifier("Phonetic Name"); }},
        ValueEdit{"Birthday",
                  [](EditFunnel &v, const ContactRowPtr &r) {
                      const QVariantMap date{{"year", 1990}, {"month", 1}, {"day", 2}};
                      return v.undoReplaceBirthday(QVariantMap{{"value", date}}, r);
                  },
                  birthday},
        ValueEdit{"BirthdayRemoved",
                  [](EditFunnel &v, const ContactRowPtr &r) { return v.undoReplaceBirthday({}, r); },
                  birthday},
        ValueEdit{"Photo",
                  [](EditFunnel &v, const ContactRowPtr &r) {
                      return v.undoReplacePhoto(QImage::fromData(pngOf(Qt::blue)), r);
                  },
                  photoBytes},
        ValueEdit{"PhotoRemoved",
                  [](EditFunnel &v, const ContactRowPtr &r) { return v.undoReplacePhoto({}, r); },
                  photoBytes}),
    [](const ::testing::TestParamInfo<ValueEdit> &info) { return std::string(info.param.name); });

struct Refusal
{
    const char *name;
    Apply apply;
};

class RefusalTest : public AddressBookFixture, public ::testing::WithParamInterface<Refusal>
{
};

TEST_P(RefusalTest, ChangesNothingAndRegistersNothing)
{
    const ContactRowPtr row = rowOf(sampleContact("Ann"));
    book->setCustomItems(CustomItems);
    EXPECT_FALSE(GetParam().apply(funnel(), row));
    EXPECT_FALSE(undoManager().canUndo());
    EXPECT_FALSE(row->person->isChanged());
    EXPECT_TRUE(told.isEmpty());
    EXPECT_FALSE(book->isEdited());
}

INSTANTIATE_TEST_SUITE_P(
    WrongInput, RefusalTest,
    ::testing::Values(
        Refusal{"BirthdayThroughTheGeneralSetter",
                replaceValue(QVariantMap{{"value", QVariantMap()}}, "Birthday")},
        Refusal{"NameThroughTheGeneralSetter", replaceValue(QVariantMap{{"FirstName", "X"}}, "Name")},
        Refusal{"NilListThroughTheGeneralSetter", replaceValue({}, "Phone")},
        Refusal{"EntryNumberNoEntryCarries", replaceList(entry("work", "x@example.com", 7), "Email")},
        Refusal{"TextForAList", replaceList("x", "Phone")},
        Refusal{"ListForATextField", replaceList(QVariantList{entry("a", "b")}, "Company")},
        Refusal{"AddedToATextField", addEntry(entry("a", "b"), "Company")},
        Refusal{"DeletedAddressPart", deleteEntry("ZIP", 0)},
        Refusal{"DeletedEntryNoneCarries", deleteEntry("Phone", 9)},
        Refusal{"BirthdayAsText",
                [](EditFunnel &v, const ContactRowPtr &r) { return v.undoReplaceBirthday("1990", r); }},
        Refusal{"PhotoAsText",
                [](EditFunnel &v, const ContactRowPtr &r) { return v.undoReplacePhoto("x", r); }}),
    [](const ::testing::TestParamInfo<Refusal> &info) { return std::string(info.param.name); });

// The value the record holds, handed back as an editor hands it: the record would change nothing.
QVariantMap without(QVariantMap map, const QStringList &keys)
{
    for (const QString &key : keys)
        map.remove(key);
    return map;
}

Apply heldFirst(const QString &identifier, const QStringList &derivedKeys)
{
    return [=](EditFunnel &v, const ContactRowPtr &r) {
        const QVariantMap held = r->person->labeledValueForIdentifierAtLabelIndex(identifier, 0).value();
        return v.undoReplaceLabeledValue(without(held, derivedKeys), identifier, r, nullptr);
    };
}

// A custom value the record already holds, unmarked.
Apply heldCustom(const QVariant &value, const QString &identifier, const QVariant &written)
{
    return [=](EditFunnel &v, const ContactRowPtr &r) {
        r->person->setValue(value, identifier);
        r->person->setChanged(false);
        return v.undoReplaceValue(written, identifier, r, nullptr);
    };
}

INSTANTIATE_TEST_SUITE_P(
    EqualValues, RefusalTest,
    ::testing::Values(
        Refusal{"SameText", replaceValue("Acme", "Company")},
        Refusal{"NilForAnEmptyText", replaceValue({}, "Note")},
        Refusal{"SameCustomText", heldCustom("Chess", "Hobby", "Chess")},
        Refusal{"SameCustomEntry", heldCustom(QVariantList{entry("dog", "Rex", 0)}, "Pets",
                                              QVariantList{entry("dog", "Rex", 0)})},
        Refusal{"SamePhone", heldFirst("Phone", {})},
        Refusal{"SameEmailWithoutItsParts", heldFirst("Email", {"stringValue", "username", "domain"})},
        Refusal{"SameAddressWithoutItsText", heldFirst("Address", {"stringValue", "formattedString"})},
        Refusal{"SameAddressThroughAPart",
                [](EditFunnel &v, const ContactRowPtr &r) {
                    const QVariantMap held = r->person->labeledValueForIdentifierAtLabelIndex("Address", 0).value();
                    return v.undoReplaceValue(held, "ZIP", r, nullptr);
                }},
        Refusal{"SamePhoneList",
                [](EditFunnel &v, const ContactRowPtr &r) {
                    return v.undoReplaceLabeledValue(r->person->labeledValueForIdentifier("Phone"), "Phone", r,
                                                     nullptr);
                }},
        Refusal{"EmptyListForNone", replaceList({}, "URL")},
        Refusal{"SameNameWithoutItsText",
                [](EditFunnel &v, const ContactRowPtr &r) {
                    return v.undoReplaceNameValue(without(r->person->nameValue(), {"stringValue"}), r);
                }},
        Refusal{"SamePhoneticNameWithAnotherText",
                [](EditFunnel &v, const ContactRowPtr &r) {
                    QVariantMap phonetic = r->person->phoneticNameValue().value();
                    phonetic.insert("stringValue", "an ?");
                    return v.undoReplacePhoneticNameValue(phonetic, r);
                }},
        Refusal{"SameBirthdayWithoutItsText",
                [](EditFunnel &v, const ContactRowPtr &r) {
                    const QVariantMap date{{"year", 1980}, {"month", 5}, {"day", 17}};
                    return v.undoReplaceBirthday(QVariantMap{{"value", date}}, r);
                }},
        Refusal{"NoBirthdayRemoved",
                [](EditFunnel &v, const ContactRowPtr &r) {
                    r->person->setBirthdayValue(std::nullopt);
                    r->person->setChanged(false);
                    return v.undoReplaceBirthday({}, r);
                }}),
    [](const ::testing::TestParamInfo<Refusal> &info) { return std::string(info.param.name); });

// --- steps and the edited mark -----------------------------------------------------------------

TEST_F(AddressBookFixture, TheListSetterRefreshesTheGridAndMarksTheWindowEdited)
{
    const ContactRowPtr row = rowOf(sampleContact("Ann"));
    ASSERT_TRUE(funnel().undoReplaceLabeledValue({}, "Phone", row, nullptr));
    EXPECT_EQ(told, QStringList{"table"});
    EXPECT_TRUE(book->isEdited());
}

// An entry without a number is a new one, not entry 0 under another value.
TEST_F(AddressBookFixture, AnEntryWithoutANumberIsAddedAndUndoTakesItAway)
{
    const ContactRowPtr row = rowOf(sampleContact("Ann"));
    const QVariantList before = row->person->labeledValueForIdentifier("Phone");
    ASSERT_TRUE(funnel().undoReplaceLabeledValue(entry("mobile", "999"), "Phone", row, nullptr));
    const QVariantList after = row->person->labeledValueForIdentifier("Phone");
    ASSERT_EQ(after.size(), 3);
    EXPECT_EQ(after.mid(0, 2), before);
    EXPECT_EQ(after[2].toMap().value("labelIndex"), 2);
    EXPECT_EQ(after[2].toMap().value("value"), "999");
    book->undo();
    EXPECT_EQ(row->person->labeledValueForIdentifier("Phone"), before);
}

TEST_F(AddressBookFixture, AnEditOfSeveralRowsIsOneUndoStep)
{
    QList<ContactRowPtr> rows;
    for (const char *name : {"Ann", "Bo", "Cy"})
        rows.append(rowOf(sampleContact(name)));
    ASSERT_TRUE(funnel().undoReplaceValue("Globex", "Company", rows[0], nullptr));
    nextEvent();
    {
        UndoGroup group(undoManager());
        for (const ContactRowPtr &row : rows)
            funnel().undoReplaceLabeledValue({}, "Phone", row, nullptr);
    }
    nextEvent();

    book->undo();
    for (const ContactRowPtr &row : rows)
        EXPECT_EQ(row->person->labeledValueForIdentifier("Phone").size(), 2);
    EXPECT_EQ(rows[0]->person->stringValueForIdentifier("Company"), "Globex");
    EXPECT_TRUE(book->isEdited());
    book->undo();
    EXPECT_EQ(rows[0]->person->stringValueForIdentifier("Company"), "Acme");
    EXPECT_FALSE(book->isEdited());
}

// A row that already holds the value is left out of the step; a step of such rows only is none.
TEST_F(AddressBookFixture, AnEditOfSeveralRowsLeavesTheRowsThatHoldTheValueAlone)
{
    QList<ContactRowPtr> rows;
    for (const char *name : {"Ann", "Bo", "Cy"})
        rows.append(rowOf(sampleContact(name)));
    ASSERT_TRUE(funnel().undoReplaceValue("Globex", "Company", rows[1], nullptr));
    nextEvent();
    rows[1]->person->setChanged(false);
    const auto writeToAll = [&] {
        UndoGroup group(undoManager());
        for (const ContactRowPtr &row : rows)
            funnel().undoReplaceValue("Globex", "Company", row, nullptr);
    };
    writeToAll();
    nextEvent();
    writeToAll();
    nextEvent();
    EXPECT_FALSE(rows[1]->person->isChanged());

    book->undo();
    EXPECT_EQ(rows[0]->person->stringValueForIdentifier("Company"), "Acme");
    EXPECT_EQ(rows[1]->person->stringValueForIdentifier("Company"), "Globex");
    EXPECT_EQ(rows[2]->person->stringValueForIdentifier("Company"), "Acme");
    book->undo();
    EXPECT_EQ(rows[1]->person->stringValueForIdentifier("Company"), "Acme");
    EXPECT_FALSE(undoManager().canUndo());
}

TEST_F(AddressBookFixture, AMergeWritesWhatDiffersAsOneStep)
{
    const ContactRowPtr left = rowOf(sampleContact("Ann"));
    auto merged = std::make_shared<ContactRow>(*rowOf(sampleContact("Ann")));
    merged->person->setValue("Globex", "Company");
    merged->person->setNameValue(QVariantMap{{"FirstName", "Anne"}, {"LastName", "Lee"}}, "Name");
    merged->person->setValue(QVariantList{entry("mobile", "999")}, "Phone");
    merged->person->setPhoto(std::nullopt);
    MergeContextDict context{{left}, QList<ContactRowPtr>{merged}, std::nullopt};

    funnel().undoReplacePersonByContacts(*context.newContacts, context.contacts);
    QNPerson &person = *left->person;
    EXPECT_EQ(person.stringValueForIdentifier("Company"), "Globex");
    EXPECT_EQ(person.nameValue().value("FirstName"), "Anne");
    EXPECT_EQ(person.labeledValueForIdentifier("Phone").size(), 1);
    EXPECT_TRUE(person.photo().isNull());
    EXPECT_TRUE(book->isEdited());

    book->undo();
    EXPECT_EQ(person.stringValueForIdentifier("Company"), "Acme");
    EXPECT_EQ(person.nameValue().value("FirstName"), "Ann");
    EXPECT_EQ(person.labeledValueForIdentifier("Phone").size(), 2);
    EXPECT_FALSE(person.photo().isNull());
    EXPECT_FALSE(undoManager().canUndo());

    // Equal values: nothing is written, the views are still told.
    told.clear();
    funnel().undoReplacePersonByContacts({rowOf(sampleContact("Ann"))}, {left});
    EXPECT_FALSE(undoManager().canUndo());
    EXPECT_FALSE(book->isEdited());
    EXPECT_TRUE(told.contains("contact"));
}

} // namespace
