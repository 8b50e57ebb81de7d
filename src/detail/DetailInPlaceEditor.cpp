#include "detail/DetailInPlaceEditor.h"

#include "ui/widgets/ValueFields.h"

#include <QKeyEvent>
#include <QTextDocument>

DetailInPlaceEditor::DetailInPlaceEditor(QWidget *parent) : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(1);
    setTabChangesFocus(false);
}

void DetailInPlaceEditor::start(const QString &value)
{
    setPlainText(value);
    m_value = value;
    m_shownValue = shownText();
    selectAll();
    show();
    setFocus(Qt::OtherFocusReason);
}

QString DetailInPlaceEditor::text() const
{
    return ValueFields::valueFromEditedText(m_value, m_shownValue, shownText());
}

QString DetailInPlaceEditor::shownText() const
{
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void DetailInPlaceEditor::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        emit moveRequested();
        return;
    case Qt::Key_Escape:
        emit cancelled();
        return;
    default:
        QPlainTextEdit::keyPressEvent(event);
    }
}

void DetailInPlaceEditor::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    // A popup of the editor itself (its context menu) takes the focus for a while only.
    if (event->reason() != Qt::PopupFocusReason)
        emit finished();
}

bool DetailInPlaceEditor::focusNextPrevChild(bool)
{
    // Tab is the table's, never the window's focus chain.
    return false;
}
