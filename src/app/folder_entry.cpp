#include "app/folder_entry.h"

#include "app/data_path_manager.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>

namespace saldora::app {

void makeEntryRelative(QLineEdit* entry) {
    entry->setText(
        QString::fromStdString(DataPathManager::makeRelative(entry->text().toStdString())));
}

void chooseFolderInto(QLineEdit* entry, QCheckBox* relative) {
    auto* dialog = new QFileDialog(entry->window(), "Select path", entry->text());
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QCheckBox> tick(relative);
    QObject::connect(dialog, &QFileDialog::fileSelected, entry, [entry, tick](const QString& folder) {
        entry->setText(folder);
        if (tick && tick->isChecked()) makeEntryRelative(entry);
    });
    dialog->open();
}

} // namespace saldora::app
