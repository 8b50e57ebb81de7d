#include "app/FontManager.h"

#include "addressbook/DefaultsKey.h"

#include <QFontDialog>

#include <algorithm>

FontManager &FontManager::shared()
{
    static FontManager manager;
    return manager;
}

void FontManager::setSelectedFont(const QFont &font, bool isMultiple)
{
    m_selectedFont = font;
    m_isMultiple = isMultiple;
    if (m_panel)
        m_panel->setCurrentFont(font);
}

void FontManager::setTarget(QObject *context, ChangeFont changeFont)
{
    m_context = context;
    m_changeFont = std::move(changeFont);
}

QFont FontManager::convertFont(const QFont &font) const
{
    QFont converted = font;
    switch (m_conversion) {
    case Conversion::Replace:
        return m_panelFont;
    case Conversion::Bigger:
        converted.setPointSizeF(font.pointSizeF() + 1.0);
        break;
    case Conversion::Smaller:
        converted.setPointSizeF(std::max(font.pointSizeF() - 1.0, DefaultsKey::MinimumFontSize));
        break;
    case Conversion::None:
        break;
    }
    return converted;
}

void FontManager::orderFrontFontPanel(QWidget *parent)
{
    if (!m_panel) {
        m_panel = new QFontDialog(m_selectedFont, parent);
        m_panel->setAttribute(Qt::WA_DeleteOnClose);
        m_panel->setOption(QFontDialog::NoButtons);
        connect(m_panel, &QFontDialog::currentFontChanged, this, &FontManager::choosePanelFont);
    }
    m_panel->show();
    m_panel->raise();
}

void FontManager::modifyFontBigger()
{
    send(Conversion::Bigger);
}

void FontManager::modifyFontSmaller()
{
    send(Conversion::Smaller);
}

void FontManager::choosePanelFont(const QFont &font)
{
    send(Conversion::Replace, font);
}

void FontManager::send(Conversion conversion, const QFont &font)
{
    if (!m_context || !m_changeFont)
        return;
    m_conversion = conversion;
    m_panelFont = font;
    m_changeFont(this);
    m_conversion = Conversion::None;
}
