#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>

#include <functional>

class QFontDialog;
class QWidget;

// The application's font manager: it knows the font of the current selection, and the font panel
// and the Bigger/Smaller commands tell its target to change the font; the target asks
// convertFont() what its font becomes.
class FontManager : public QObject
{
    Q_OBJECT

public:
    static FontManager &shared();

    void setSelectedFont(const QFont &font, bool isMultiple);
    QFont selectedFont() const { return m_selectedFont; }
    bool isMultiple() const { return m_isMultiple; }

    // The target gets changeFont with this manager; it is dropped when context is destroyed.
    using ChangeFont = std::function<void(FontManager *sender)>;
    void setTarget(QObject *context, ChangeFont changeFont);
    QObject *targetContext() const { return m_context; }

    // The font that `font` becomes under the command being sent.
    QFont convertFont(const QFont &font) const;

    void orderFrontFontPanel(QWidget *parent);
    void modifyFontBigger();
    void modifyFontSmaller();
    // As the panel does when the user picks a font.
    void choosePanelFont(const QFont &font);

private:
    enum class Conversion
    {
        None,
        Replace,
        Bigger,
        Smaller
    };
    void send(Conversion conversion, const QFont &font = {});

    QFont m_selectedFont;
    bool m_isMultiple = false;
    QPointer<QObject> m_context;
    ChangeFont m_changeFont;
    Conversion m_conversion = Conversion::None;
    QFont m_panelFont;
    QPointer<QFontDialog> m_panel;
};
