#include "ui/widgets/ValueFields.h"

#include <QItemEditorFactory>
#include <QLineEdit>

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace {

class WholeValueEditorFactory : public QItemEditorFactory
{
public:
    QWidget *createEditor(int userType, QWidget *parent) const override
    {
        QWidget *editor = QItemEditorFactory::defaultFactory()->createEditor(userType, parent);
        if (auto *field = qobject_cast<QLineEdit *>(editor))
            ValueFields::takeWholeValues(field);
        return editor;
    }

    QByteArray valuePropertyName(int userType) const override
    {
        return QItemEditorFactory::defaultFactory()->valuePropertyName(userType);
    }
};

// The offsets in original of two offsets in shown, the editor's form of original: each character
// shows as one, except a CR LF shown as a single LF. Nullopt when shown is no such form.
std::optional<std::pair<qsizetype, qsizetype>> originalOffsets(const QString &original, const QString &shown,
                                                               qsizetype head, qsizetype tail)
{
    qsizetype at = 0;
    qsizetype headAt = 0;
    qsizetype tailAt = 0;
    for (qsizetype shownAt = 0;; ++shownAt) {
        if (shownAt == head)
            headAt = at;
        if (shownAt == tail)
            tailAt = at;
        if (shownAt == shown.size())
            break;
        if (at >= original.size())
            return std::nullopt;
        const bool foldedLineEnd = original.at(at) == QLatin1Char('\r') && at + 1 < original.size() &&
                                   original.at(at + 1) == QLatin1Char('\n') &&
                                   shown.at(shownAt) == QLatin1Char('\n');
        at += foldedLineEnd ? 2 : 1;
    }
    if (at != original.size())
        return std::nullopt;
    return std::make_pair(headAt, tailAt);
}

} // namespace

void ValueFields::takeWholeValues(QLineEdit *field)
{
    if (field && field->maxLength() == DefaultMaxLength)
        field->setMaxLength(std::numeric_limits<int>::max());
}

QItemEditorFactory *ValueFields::itemEditorFactory()
{
    static WholeValueEditorFactory factory;
    return &factory;
}

QString ValueFields::valueFromEditedText(const QString &original, const QString &shownOriginal,
                                         const QString &edited)
{
    if (edited == shownOriginal)
        return original;
    const qsizetype most = std::min(shownOriginal.size(), edited.size());
    qsizetype head = 0;
    while (head < most && shownOriginal.at(head) == edited.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < most - head &&
           shownOriginal.at(shownOriginal.size() - 1 - tail) == edited.at(edited.size() - 1 - tail))
        ++tail;
    const auto offsets = originalOffsets(original, shownOriginal, head, shownOriginal.size() - tail);
    if (!offsets)
        return edited;
    return original.left(offsets->first) + edited.mid(head, edited.size() - tail - head) +
           original.mid(offsets->second);
}
