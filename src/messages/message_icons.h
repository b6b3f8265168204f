#pragma once
// The icons of the message boxes, from the style in force.
#include "data/message_service.h"

#include <QIcon>
#include <QMessageBox>
#include <QStyle>

namespace saldora::message_box {

inline QMessageBox::Icon messageBoxIcon(Icon icon) {
    switch (icon) {
    case Icon::Hand:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Asterisk:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

inline QIcon standardIcon(Icon icon, const QStyle& style) {
    switch (icon) {
    case Icon::Hand:
        return style.standardIcon(QStyle::SP_MessageBoxCritical);
    case Icon::Question:
        return style.standardIcon(QStyle::SP_MessageBoxQuestion);
    case Icon::Exclamation:
        return style.standardIcon(QStyle::SP_MessageBoxWarning);
    case Icon::Asterisk:
        return style.standardIcon(QStyle::SP_MessageBoxInformation);
    case Icon::None:
        break;
    }
    return {};
}

} // namespace saldora::message_box
