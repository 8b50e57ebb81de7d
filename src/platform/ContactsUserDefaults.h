#pragma once

#include <QString>
#include <optional>

// The user's contact preferences as the system gives them: the country of the system locale and
// the sort order of names. There is no desktop setting for the sort order, so it is "given name"
// unless a test sets it. Safe to read from any thread.
class ContactsUserDefaults
{
public:
    enum SortOrder
    {
        SortOrderNone = 0,
        SortOrderUserDefault = 1,
        SortOrderGivenName = 2,
        SortOrderFamilyName = 3
    };

    // Two lower-case letters ("us", "jp") from the system locale's territory; "us" when the locale
    // names none (the C locale).
    static QString countryCode();
    static SortOrder sortOrder();

    // Test hooks: replace what the system answers; nullopt goes back to the system.
    static void setCountryCodeForTesting(const std::optional<QString> &code);
    static void setSortOrderForTesting(std::optional<SortOrder> order);
};
