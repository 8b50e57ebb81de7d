#pragma once

#include <QPlainTextEdit>

// The field that edits a detail row's text in place, laid over the row's value cell. A plain text
// editor rather than a line, so that a note of several lines keeps its line breaks.
//
// Return and Tab do not type: they ask the table to move the edit on (moveRequested). Escape gives
// the edit up; losing the focus ends it (finished).
//
// The text document keeps one kind of line end and toPlainText() turns no-break spaces into
// spaces: text() gives the value back with what the user did not touch as it was stored, and what
// was typed or pasted as it came.
class DetailInPlaceEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DetailInPlaceEditor(QWidget *parent = nullptr);

    // Shows the value with all of it selected.
    void start(const QString &value);
    // The value as edited; the started value itself while the text is unchanged.
    QString text() const;

signals:
    void moveRequested();
    void finished();
    void cancelled();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // The document's text with its own characters kept (no-break spaces among them), paragraph
    // ends as LF.
    QString shownText() const;

    QString m_value;
    QString m_shownValue;
};
