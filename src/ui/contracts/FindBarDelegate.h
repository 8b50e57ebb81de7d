#pragma once

#include <QString>

// The find bar's calls to the controller that holds it.
class FindBarDelegate
{
public:
    virtual ~FindBarDelegate() = default;

    // The search field was committed (possibly empty).
    virtual void findStringDidChange(const QString &findString) = 0;
    // One of "Done", "OptionChanged", "Next", "Previous", "Replace", "ReplaceAll".
    virtual void findBarButtonDidPress(const QString &command) = 0;
};
