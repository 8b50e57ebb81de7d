#pragma once

#include <QPlainTextEdit>

// The field that edits a detail row's text in place, laid over the row's value cell. A plain text
// editor rather than a line, so that a note of several lines keeps its line breaks.
//
// Return and Tab do not type: they ask the table to move the edit on (moveRequested). Escape gives
// the edit up; losing the focus ends it (finished).
class DetailInPlaceEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DetailInPlaceEditor(QWidget *parent = nullptr);

    // Shows the text with all of it selected.
    void start(const QString &text);
    QString text() const { return toPlainText(); }

signals:
    void moveRequested();
    void finished();
    void cancelled();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;
};
