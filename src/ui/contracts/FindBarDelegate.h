#pragma once

#include <QString>

// What a press on the find bar asks for.
enum class FindBarCommand { Done, OptionChanged, Next, Previous, Replace, ReplaceAll };

// The find bar's calls to the controller that holds it.
class FindBarDelegate
{
public:
    virtual ~FindBarDelegate() = default;

    // The search field was committed (possibly empty).
    virtual void findStringDidChange(const QString &findString) = 0;
    virtual void findBarButtonDidPress(FindBarCommand command) = 0;
};
