#pragma once
// Pictures and icons the program names ("ok.ico", "Login.jpg"), read from the current folder
// (the program folder from start-up on), the name resolved without regard to case. A missing
// picture gives an empty one.
#include <QIcon>
#include <QPixmap>
#include <string_view>

class QPushButton;

namespace saldora::ui {

QIcon programIcon(std::string_view name);
QPixmap programPicture(std::string_view name);

// A push button with the program's conventions: text, tip, icon, object name.
QPushButton* makeButton(QWidget* parent, const char* objectName, const QString& text,
                        const QString& tip = {}, std::string_view icon = {});

} // namespace saldora::ui
