#include "security/appearance.h"

#include "data/file_names.h"
#include "security/security.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace saldora::security {

Appearance& appearance() {
    static Appearance a;
    return a;
}

void dress(QWidget& window, const QString& title) {
    const Appearance& a = appearance();
    window.setWindowTitle(title);
    if (!a.logo.empty()) {
        QIcon icon = programPicture(a.logo);
        if (!icon.isNull()) window.setWindowIcon(icon);
    }
    message_box::applyScreenFont(window, a.font);
}

QIcon programPicture(const std::string& name) {
    const std::string folder = QCoreApplication::applicationDirPath().toStdString();
    const QString file = QString::fromStdString(file_names::resolveIn(folder, name));
    return QFileInfo::exists(file) ? QIcon(file) : QIcon();
}

QPushButton* namedButton(QWidget& parent, const char* name, const QString& text,
                         const QString& tip) {
    auto* b = new QPushButton(text, &parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!tip.isEmpty()) b->setToolTip(tip);
    return b;
}

QLineEdit* namedEntry(QWidget& parent, const char* name, int maxLength, bool password) {
    auto* e = new QLineEdit(&parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    if (password) e->setEchoMode(QLineEdit::Password);
    return e;
}

Message accessRestrictedMessage() {
    return Message::withButtons("Acesso restrito.|Você não tem permissão para usar esta parte do "
                                "sistema. Peça ao administrador que lhe conceda o acesso.",
                                appearance().caption, Icon::Hand, button::Ok);
}

void tell(const std::string& text, Icon icon) {
    messages().show(Message::withButtons(text, appearance().caption, icon, button::Ok));
}

void tellFailure(const Error& error) {
    if (isRefusal(error)) return tell(error.text);
    const int number = error.engineCode != 0 ? error.engineCode : error.code;
    tell(error.text + " (" + std::to_string(number) + ")", Icon::Hand);
}

} // namespace saldora::security
