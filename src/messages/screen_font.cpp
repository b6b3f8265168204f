#include "messages/screen_font.h"

#include "data/ini.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace saldora::message_box {

ScreenFont& screenFont() {
    static ScreenFont font;
    return font;
}

void loadScreenFont(ScreenFont& font, std::string_view file) {
    if (font.loaded) return;
    namespace k = settings::screen_font;
    font.name = ini::read(file, k::section, k::name.key, font.name);
    font.size = ini::readNumber(file, k::section, k::size.key, font.size);
    font.color = ini::readNumber(file, k::section, k::color.key, font.color);
    font.style = ini::readNumber(file, k::section, k::style.key, font.style);
    font.charset = ini::readNumber(file, k::section, k::charset.key, font.charset);
    font.disable = ini::readNumber(file, k::section, k::disable.key, font.disable);
    font.loaded = true;
}

void applyScreenFont(QWidget& window, const ScreenFont& settings) {
    if (settings.disable != 0) return;
    QFont font = window.font();
    if (!settings.name.empty()) font.setFamily(QString::fromStdString(settings.name));
    if (settings.size > 0) font.setPointSize(static_cast<int>(settings.size));
    if (settings.style != -1) font = styledFont(font, settings.style);
    window.setFont(font);
    if (settings.color != -1) {
        QPalette palette = window.palette();
        const QColor color = colorFromBgr(settings.color);
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, color);
        window.setPalette(palette);
    }
}

QFont styledFont(QFont font, long style) {
    const long weight = style & 0xFFF;
    if (weight != 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1L, 1000L)));
    font.setItalic(style & 0x1000);
    font.setUnderline(style & 0x2000);
    font.setStrikeOut(style & 0x4000);
    return font;
}

QColor colorFromBgr(long bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace saldora::message_box
