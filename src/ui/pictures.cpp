#include "ui/pictures.h"

#include "data/file_names.h"

#include <QPushButton>

namespace saldora::ui {

namespace {
QString located(std::string_view name) {
    return QString::fromStdString(file_names::resolveIn(".", std::string(name)));
}
} // namespace

QIcon programIcon(std::string_view name) { return QIcon(located(name)); }
QPixmap programPicture(std::string_view name) { return QPixmap(located(name)); }

QPushButton* makeButton(QWidget* parent, const char* objectName, const QString& text,
                        const QString& tip, std::string_view icon) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    if (!tip.isEmpty()) b->setToolTip(tip);
    if (!icon.empty()) b->setIcon(programIcon(icon));
    b->setAutoDefault(false);
    return b;
}

} // namespace saldora::ui
